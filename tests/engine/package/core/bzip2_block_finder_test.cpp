#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/package/core/bzip2_block_finder.h"

namespace {

using va::bzip2::find_marker;
using va::bzip2::Marker;
using va::bzip2::MarkerKind;

// Bits written one by one, most significant first.
struct Bits {
    std::vector<unsigned char> bytes;
    std::uint64_t size = 0;

    void put(std::uint64_t value, unsigned count)
    {
        for (unsigned k = count; k-- > 0;) {
            if (size % 8 == 0)
                bytes.push_back(0);
            if ((value >> k) & 1u)
                bytes.back() |= static_cast<unsigned char>(0x80u >> (size % 8));
            ++size;
        }
    }
};

// Filler that holds no signature: a run of one bit value never does.
void Fill(Bits& b, unsigned count, bool one)
{
    for (unsigned i = 0; i < count; ++i)
        b.put(one ? 1 : 0, 1);
}

}  // namespace

TEST(Bzip2BlockFinder, FindsBothSignaturesAtEveryBitOffset)
{
    for (const auto kind : {MarkerKind::block, MarkerKind::end_of_stream})
        for (unsigned lead = 0; lead < 40; ++lead)
            for (const bool one : {false, true}) {
                Bits b;
                Fill(b, lead, one);
                b.put(kind == MarkerKind::block ? va::bzip2::kBlockMagic : va::bzip2::kEndMagic, 48);
                EXPECT_EQ(find_marker(b.bytes, 0), (Marker{lead, kind})) << lead;
                EXPECT_EQ(find_marker(b.bytes, lead), (Marker{lead, kind})) << lead;
                EXPECT_FALSE(find_marker(b.bytes, lead + 1)) << lead;  // a start past it finds nothing
                // Its last bit wrong: no signature.
                std::vector<unsigned char> wrong = b.bytes;
                wrong[(b.size - 1) / 8] ^= static_cast<unsigned char>(0x80u >> ((b.size - 1) % 8));
                EXPECT_FALSE(find_marker(wrong, 0)) << lead;
            }
}

TEST(Bzip2BlockFinder, ReportsMarkersInOrderAcrossBytes)
{
    Bits b;
    std::vector<Marker> placed;
    std::mt19937 random(7);
    for (int i = 0; i < 64; ++i) {
        Fill(b, 49 + random() % 23, i % 2);
        const bool block = random() % 3 != 0;
        placed.push_back({b.size, block ? MarkerKind::block : MarkerKind::end_of_stream});
        b.put(block ? va::bzip2::kBlockMagic : va::bzip2::kEndMagic, 48);
    }
    Fill(b, 5, false);
    std::vector<Marker> found;
    for (auto m = find_marker(b.bytes, 0); m; m = find_marker(b.bytes, m->bit + 1))
        found.push_back(*m);
    EXPECT_EQ(found, placed);
}

TEST(Bzip2BlockFinder, SignaturesOverlapOnlyInAFewBits)
{
    // Why a block that decodes to its end-of-stream marker with every byte
    // read ends exactly where the finder put its end: neither signature's
    // tail of 4 bits or more begins the other or itself.
    const std::uint64_t magics[] = {va::bzip2::kBlockMagic, va::bzip2::kEndMagic};
    for (std::uint64_t a : magics)
        for (std::uint64_t b : magics)
            for (unsigned length = 4; length < 48; ++length) {
                const std::uint64_t tail = a & ((std::uint64_t{1} << length) - 1);
                const std::uint64_t head = b >> (48 - length);
                EXPECT_NE(tail, head) << std::hex << a << " " << b << " " << std::dec << length;
            }
    // The tails of up to 3 bits do, and the finder still reports a
    // signature that shares bits with one before it.
    Bits bits;
    bits.put(va::bzip2::kBlockMagic, 48);
    const std::uint64_t overlapped = 45;  // the block signature's last 3 bits begin it again
    std::vector<unsigned char> twice = bits.bytes;
    Bits second;
    Fill(second, overlapped, false);
    second.put(va::bzip2::kBlockMagic, 48);
    for (std::size_t i = 0; i < second.bytes.size(); ++i)
        if (i < twice.size())
            twice[i] |= second.bytes[i];
        else
            twice.push_back(second.bytes[i]);
    ASSERT_EQ(find_marker(twice, 0), (Marker{0, MarkerKind::block}));
    EXPECT_EQ(find_marker(twice, 1), (Marker{overlapped, MarkerKind::block}));
}

TEST(Bzip2BlockFinder, NothingInDataWithoutSignatures)
{
    std::vector<unsigned char> data(1 << 16);
    std::mt19937 random(1);
    for (auto& c : data)
        c = static_cast<unsigned char>(random());
    EXPECT_FALSE(find_marker(data, 0));  // 2^19 positions, a chance of 2^-28
    EXPECT_FALSE(find_marker({}, 0));
    EXPECT_FALSE(find_marker(std::vector<unsigned char>(5, 0x31), 0));
}

TEST(Bzip2BlockFinder, ReadsAndRealignsBits)
{
    std::vector<unsigned char> data(64);
    std::mt19937 random(3);
    for (auto& c : data)
        c = static_cast<unsigned char>(random());
    const auto bit = [&](std::uint64_t i) { return (data[i / 8] >> (7 - i % 8)) & 1u; };
    for (std::uint64_t at = 0; at < 200; at += 7)
        for (unsigned count : {1u, 8u, 32u, 48u, 56u}) {
            std::uint64_t expected = 0;
            for (unsigned k = 0; k < count; ++k)
                expected = (expected << 1) | bit(at + k);
            EXPECT_EQ(va::bzip2::read_bits(data, at, count), expected) << at << " " << count;
        }
    for (std::uint64_t at = 0; at < 16; ++at)
        for (std::uint64_t end = at; end <= 8 * data.size(); end += 13) {
            std::vector<unsigned char> out(80, 0xEE);
            const std::size_t n = va::bzip2::copy_bits(data, at, end, out);
            ASSERT_EQ(n, (end - at + 7) / 8);
            for (std::uint64_t k = 0; k < 8 * n; ++k) {
                const unsigned got = (out[k / 8] >> (7 - k % 8)) & 1u;
                ASSERT_EQ(got, at + k < end ? bit(at + k) : 0u) << at << " " << end << " " << k;
            }
        }
    // In pieces, as the decoder asks for them.
    std::vector<unsigned char> small(3);
    EXPECT_EQ(va::bzip2::copy_bits(data, 5, 300, small), 3u);
    EXPECT_EQ(small[0], static_cast<unsigned char>(va::bzip2::read_bits(data, 5, 8)));
}
