#pragma once
// Data for the tests of the block-wise bzip2 decoding: compressible but not
// trivial bytes, and the blocks of a compressed stream.

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "engine/package/core/bzip2_stream_walker.h"

namespace bzip2_test {

// Words and noise, about 3:1 compressible, the same for the same seed.
inline std::string Noise(std::size_t size, unsigned seed)
{
    static const char* const words[] = {"block", "stream", "marker", "table ", "entry", "\n", "0.25", "  "};
    std::mt19937 random(seed);
    std::string out;
    while (out.size() < size) {
        if (random() % 4 != 0)
            out += words[random() % 8];
        else
            for (int i = random() % 12; i > 0; --i)
                out += static_cast<char>(random());
    }
    out.resize(size);
    return out;
}

inline std::span<const unsigned char> Bytes(const std::string& s)
{
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

// The blocks the walk finds, and how it ended.
struct Walk {
    std::vector<va::bzip2::BlockSegment> blocks;
    va::bzip2::StreamWalker::Step last = va::bzip2::StreamWalker::Step::doubt;
};

inline Walk WalkAll(const std::string& compressed)
{
    Walk w;
    va::bzip2::StreamWalker walker(Bytes(compressed));
    va::bzip2::BlockSegment segment;
    while ((w.last = walker.next(segment)) == va::bzip2::StreamWalker::Step::block)
        w.blocks.push_back(segment);
    return w;
}

// Flips one bit of the data.
inline std::string Flip(std::string s, std::uint64_t bit)
{
    s[bit / 8] = static_cast<char>(s[bit / 8] ^ (0x80 >> (bit % 8)));
    return s;
}

}  // namespace bzip2_test
