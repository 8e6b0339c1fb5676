#include "engine/package/core/block_output_buffer.h"

#include <algorithm>
#include <cstring>

namespace va {
namespace {

constexpr std::size_t kFirstBytes = 16 * 1024;

}  // namespace

void BlockOutputBuffer::reserve(std::size_t wanted)
{
    if (wanted <= size_)
        return;
    std::size_t size = std::max(size_, kFirstBytes);
    while (size < wanted)
        size *= 2;
    size = std::min(size, kBlockBytes);
    auto grown = std::make_unique_for_overwrite<char[]>(size);
    if (fill_ != 0)
        std::memcpy(grown.get(), buffer_.get(), fill_);
    buffer_ = std::move(grown);
    size_ = size;
}

void BlockOutputBuffer::emit(const char* bytes, std::size_t length)
{
    try {
        write_block(bytes, length);
    } catch (...) {
        failed_ = true;
        throw;
    }
}

void BlockOutputBuffer::write_out()
{
    if (fill_ == 0)
        return;
    emit(buffer_.get(), fill_);
    fill_ = 0;
}

void BlockOutputBuffer::write_out_quietly() noexcept
{
    if (failed_)
        return;
    try {
        write_out();
    } catch (...) {
    }
}

std::streamsize BlockOutputBuffer::xsputn(const char* bytes, std::streamsize length)
{
    if (!started_) {
        started_ = true;
        before_first_write();
    }
    auto rest = static_cast<std::size_t>(length);
    while (rest != 0) {
        // A whole block with nothing waiting goes out as it is.
        if (fill_ == 0 && rest >= kBlockBytes) {
            emit(bytes, kBlockBytes);
            bytes += kBlockBytes;
            rest -= kBlockBytes;
            continue;
        }
        reserve(std::min(fill_ + rest, kBlockBytes));
        const std::size_t take = std::min(rest, size_ - fill_);
        std::memcpy(buffer_.get() + fill_, bytes, take);
        fill_ += take;
        bytes += take;
        rest -= take;
        if (fill_ == kBlockBytes)
            write_out();
    }
    return length;
}

BlockOutputBuffer::int_type BlockOutputBuffer::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
}

int BlockOutputBuffer::sync()
{
    write_out();
    return 0;
}

}  // namespace va
