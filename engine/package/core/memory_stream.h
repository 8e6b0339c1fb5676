#pragma once
// A seekable input stream over memory it does not own (a resource or a
// mapped file), read in place.  The package reader recognises it and
// then reaches the bytes directly instead of through the stream.

#include <cstddef>
#include <istream>
#include <span>
#include <streambuf>

namespace va {

class MemoryStreamBuffer : public std::streambuf {
public:
    MemoryStreamBuffer(const char* data, std::size_t size);

    // The bytes from the read position to the end.
    std::span<const char> unread() const noexcept { return {gptr(), egptr()}; }

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir dir, std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
    std::streamsize showmanyc() override { return egptr() - gptr(); }
};

class MemoryStream : public std::istream {
public:
    MemoryStream(const char* data, std::size_t size);

private:
    MemoryStreamBuffer buffer_;
};

// The unread bytes of `stream` when it reads from a MemoryStreamBuffer.
const MemoryStreamBuffer* memory_buffer_of(const std::istream& stream) noexcept;

}  // namespace va
