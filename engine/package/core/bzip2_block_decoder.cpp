#include "engine/package/core/bzip2_block_decoder.h"

#include <bzlib.h>

#include <algorithm>
#include <cstdlib>

#include "engine/package/core/bzip2_block_finder.h"

namespace va::bzip2 {
namespace {

// Produces the one-block stream piece by piece: header, the block's whole
// bytes moved to a boundary, then a tail holding the block's last bits,
// the end-of-stream signature and the CRC, padded with zero bits.
class OneBlockStream {
public:
    OneBlockStream(std::span<const unsigned char> data, const BlockSegment& segment)
        : data_(data), segment_(segment)
    {
        const std::uint64_t bits = segment.end - segment.begin;
        wholeEnd_ = segment.begin + bits / 8 * 8;
        const unsigned rest = static_cast<unsigned>(bits % 8);
        if (rest != 0)
            put(read_bits(data, wholeEnd_, rest), rest);
        put(kEndMagic, kMagicBits);
        put(read_bits(data, segment.begin + kMagicBits, kCrcBits), kCrcBits);
        tailSize_ = (tailBits_ + 7) / 8;
    }

    bool done() const noexcept { return phase_ == 3; }

    std::size_t fill(std::span<unsigned char> out)
    {
        std::size_t n = 0;
        while (n < out.size() && phase_ < 3) {
            if (phase_ == 0) {
                const unsigned char header[4] = {'B', 'Z', 'h', static_cast<unsigned char>('0' + segment_.level)};
                out[n++] = header[offset_++];
                if (offset_ == 4)
                    next_phase();
            } else if (phase_ == 1) {
                const std::uint64_t at = segment_.begin + offset_ * 8;
                const std::size_t got = copy_bits(data_, at, wholeEnd_, out.subspan(n));
                n += got;
                offset_ += got;
                if (at + got * 8 >= wholeEnd_)
                    next_phase();
            } else {
                const std::size_t got = std::min(out.size() - n, tailSize_ - static_cast<std::size_t>(offset_));
                std::copy_n(tail_.begin() + static_cast<std::ptrdiff_t>(offset_), got, out.begin() + static_cast<std::ptrdiff_t>(n));
                n += got;
                offset_ += got;
                if (offset_ == tailSize_)
                    next_phase();
            }
        }
        return n;
    }

private:
    void put(std::uint64_t value, unsigned count)
    {
        for (unsigned k = count; k-- > 0;) {
            if ((value >> k) & 1u)
                tail_[tailBits_ / 8] |= static_cast<unsigned char>(0x80u >> (tailBits_ % 8));
            ++tailBits_;
        }
    }

    void next_phase()
    {
        ++phase_;
        offset_ = 0;
    }

    std::span<const unsigned char> data_;
    BlockSegment segment_;
    std::uint64_t wholeEnd_ = 0;
    std::array<unsigned char, 11> tail_{};  // at most 7 + 48 + 32 bits
    unsigned tailBits_ = 0;
    std::size_t tailSize_ = 0;
    int phase_ = 0;
    std::uint64_t offset_ = 0;
};

}  // namespace

BlockDecoder::~BlockDecoder()
{
    for (Allocation& a : allocations_)
        std::free(a.memory);
}

void* BlockDecoder::allocate(void* self, int items, int size)
{
    auto& allocations = static_cast<BlockDecoder*>(self)->allocations_;
    const std::size_t bytes = static_cast<std::size_t>(items) * static_cast<std::size_t>(size);
    for (Allocation& a : allocations)
        if (!a.used && a.memory && a.size == bytes) {
            a.used = true;
            return a.memory;
        }
    void* memory = std::malloc(bytes);
    if (!memory)
        return nullptr;
    for (Allocation& a : allocations)
        if (!a.used && !a.memory) {
            a = {memory, bytes, true};
            return memory;
        }
    // No free slot: an allocation of another size takes the place of an unused one.
    for (Allocation& a : allocations)
        if (!a.used) {
            std::free(a.memory);
            a = {memory, bytes, true};
            return memory;
        }
    return memory;  // not cached; released to the heap
}

void BlockDecoder::release(void* self, void* memory)
{
    for (Allocation& a : static_cast<BlockDecoder*>(self)->allocations_)
        if (a.memory == memory) {
            a.used = false;
            return;
        }
    std::free(memory);
}

bool BlockDecoder::decode(std::span<const unsigned char> data, const BlockSegment& segment, BlockOutput& output,
                          const std::atomic<bool>* stop)
{
    // The signature and the CRC must lie inside the block and the data.
    if (segment.level < 1 || segment.level > 9 || segment.end < segment.begin + kMagicBits + kCrcBits ||
        segment.end > std::uint64_t{data.size()} * 8)
        return false;
    OneBlockStream input(data, segment);
    bz_stream s{};
    s.bzalloc = &BlockDecoder::allocate;
    s.bzfree = &BlockDecoder::release;
    s.opaque = this;
    if (BZ2_bzDecompressInit(&s, 0, 0) != BZ_OK)
        return false;
    // The output may raise (it can be the extractor itself).
    struct End {
        bz_stream& s;
        ~End() { BZ2_bzDecompressEnd(&s); }
    } end{s};
    bool ok = false;
    while (!(stop && stop->load(std::memory_order_relaxed))) {
        if (s.avail_in == 0 && !input.done()) {
            s.next_in = reinterpret_cast<char*>(input_.data());
            s.avail_in = static_cast<unsigned>(input.fill(input_));
        }
        const unsigned inBefore = s.avail_in;
        const std::span<char> room = output.space();
        s.next_out = room.data();
        s.avail_out = static_cast<unsigned>(room.size());
        const int rc = BZ2_bzDecompress(&s);
        const std::size_t made = room.size() - s.avail_out;
        output.produced(made);
        if (rc == BZ_STREAM_END) {
            // Every byte read: the marker sat where the block's bits end.
            ok = s.avail_in == 0 && input.done();
            break;
        }
        if (rc != BZ_OK || (made == 0 && s.avail_in == inBefore))
            break;  // damaged, or waiting for bits the block does not have
    }
    return ok;
}

}  // namespace va::bzip2
