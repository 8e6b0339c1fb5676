#pragma once
// Decodes one block of bzip2 data on its own: libbz2 is given a stream of
// that block alone (a stream header of the block's level, the block's bits
// moved to a byte boundary, an end-of-stream marker whose combined CRC is
// the block's CRC).  The block counts as decoded only when libbz2 checks
// its CRC and reads that marker exactly where the block's bits end, so a
// signature found by chance inside a block never passes for a boundary.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

namespace va::bzip2 {

// The bits of one block, from its signature to the next signature.
struct BlockSegment {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    int level = 9;  // the stream header's block size, 1..9
};

// Where decoded bytes go, in pieces.
class BlockOutput {
public:
    virtual ~BlockOutput() = default;
    // Room for the next bytes; never empty.
    virtual std::span<char> space() = 0;
    // The first `count` bytes of the last room given now hold output.
    virtual void produced(std::size_t count) = 0;
};

// Throws the bytes away (verification).
class DiscardOutput : public BlockOutput {
public:
    std::span<char> space() override { return scratch_; }
    void produced(std::size_t) override {}

private:
    std::array<char, 16384> scratch_{};
};

class BlockDecoder {
public:
    BlockDecoder() = default;
    ~BlockDecoder();
    BlockDecoder(const BlockDecoder&) = delete;
    BlockDecoder& operator=(const BlockDecoder&) = delete;

    // True when the block decoded in full with its CRC and ends exactly at
    // `segment.end`.  False on any failure, or as soon as `stop` is set.
    bool decode(std::span<const unsigned char> data, const BlockSegment& segment, BlockOutput& output,
                const std::atomic<bool>* stop = nullptr);

private:
    // libbz2's tables (3.6 MB at level 9) are allocated for every stream;
    // kept here between blocks instead of going back to the heap each time.
    struct Allocation {
        void* memory = nullptr;
        std::size_t size = 0;
        bool used = false;
    };
    static void* allocate(void* self, int items, int size);
    static void release(void* self, void* memory);

    std::array<Allocation, 4> allocations_{};
    std::array<unsigned char, 32768> input_{};
};

}  // namespace va::bzip2
