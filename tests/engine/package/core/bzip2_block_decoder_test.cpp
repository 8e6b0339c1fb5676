#include <gtest/gtest.h>

#include "engine/package/core/bzip2_block_decoder.h"
#include "tests/common/bzip2_samples.h"
#include "tests/common/package_fixture.h"

namespace {

using bzip2_test::Bytes;
using bzip2_test::Flip;
using bzip2_test::Noise;
using bzip2_test::WalkAll;
using va::bzip2::BlockDecoder;
using va::bzip2::BlockSegment;

// Collects the output through rooms of a fixed size.
class Collect : public va::bzip2::BlockOutput {
public:
    explicit Collect(std::size_t room) : room_(room) {}
    std::string bytes;
    std::span<char> space() override
    {
        bytes.resize(used_ + room_);
        return {bytes.data() + used_, room_};
    }
    void produced(std::size_t count) override
    {
        used_ += count;
        bytes.resize(used_);
    }

private:
    std::size_t room_;
    std::size_t used_ = 0;
};

std::string DecodeAll(const std::string& compressed, const std::vector<BlockSegment>& blocks, std::size_t room)
{
    BlockDecoder decoder;
    std::string out;
    for (const BlockSegment& b : blocks) {
        Collect c(room);
        EXPECT_TRUE(decoder.decode(Bytes(compressed), b, c)) << b.begin;
        out += c.bytes;
    }
    return out;
}

}  // namespace

TEST(Bzip2BlockDecoder, EveryBlockAloneGivesBackTheData)
{
    struct Case {
        int level;
        std::string data;
    };
    const Case cases[] = {
        {1, Noise(450000, 1)},                       // five blocks, none byte-aligned but the first
        {1, std::string(300000, 'z') + Noise(20000, 2)},  // runs that expand many times
        {9, Noise(120000, 3)},                       // one block, the usual level
        {2, ""},                                     // no block at all
    };
    for (const Case& c : cases) {
        const std::string compressed = package_test::Compress(c.data, c.level);
        const auto walk = WalkAll(compressed);
        ASSERT_EQ(walk.last, va::bzip2::StreamWalker::Step::end);
        for (const BlockSegment& b : walk.blocks)
            EXPECT_EQ(b.level, c.level);
        for (std::size_t room : {std::size_t{1}, std::size_t{4096}, std::size_t{1} << 20}) {
            if (room == 1 && c.data.size() > 400000)
                continue;  // byte by byte takes long
            EXPECT_EQ(DecodeAll(compressed, walk.blocks, room), c.data) << c.level << " " << room;
        }
    }
}

TEST(Bzip2BlockDecoder, ADamagedBlockFailsAndOnlyIt)
{
    const std::string data = Noise(350000, 4);
    const std::string compressed = package_test::Compress(data, 1);
    const auto walk = WalkAll(compressed);
    ASSERT_GE(walk.blocks.size(), 3u);
    BlockDecoder decoder;
    for (std::size_t damaged = 0; damaged < walk.blocks.size(); ++damaged) {
        const BlockSegment& d = walk.blocks[damaged];
        // In its CRC, its first data bits and its middle.
        for (std::uint64_t bit : {d.begin + 60, d.begin + 81, (d.begin + d.end) / 2}) {
            const std::string bad = Flip(compressed, bit);
            for (std::size_t i = 0; i < walk.blocks.size(); ++i) {
                va::bzip2::DiscardOutput out;
                EXPECT_EQ(decoder.decode(Bytes(bad), walk.blocks[i], out), i != damaged) << damaged << " " << bit;
            }
        }
    }
}

TEST(Bzip2BlockDecoder, OnlyTheExactBoundsPass)
{
    const std::string compressed = package_test::Compress(Noise(250000, 5), 1);
    const auto walk = WalkAll(compressed);
    ASSERT_GE(walk.blocks.size(), 2u);
    BlockDecoder decoder;
    const BlockSegment b = walk.blocks[1];
    for (int shift = -9; shift <= 9; ++shift) {
        BlockSegment moved = b;
        moved.end = b.end + shift;
        va::bzip2::DiscardOutput out;
        EXPECT_EQ(decoder.decode(Bytes(compressed), moved, out), shift == 0) << "end " << shift;
        moved = b;
        moved.begin = b.begin + shift;
        EXPECT_EQ(decoder.decode(Bytes(compressed), moved, out), shift == 0) << "begin " << shift;
    }
    for (const BlockSegment odd : {BlockSegment{b.begin, b.begin + 79, 1}, BlockSegment{b.begin, b.end, 0},
                                   BlockSegment{b.begin, b.end, 10},
                                   BlockSegment{b.begin, 8 * compressed.size() + 1, 1}}) {
        va::bzip2::DiscardOutput out;
        EXPECT_FALSE(decoder.decode(Bytes(compressed), odd, out));
    }
}

TEST(Bzip2BlockDecoder, StopsWhenAsked)
{
    const std::string compressed = package_test::Compress(Noise(90000, 6), 1);
    const auto walk = WalkAll(compressed);
    ASSERT_EQ(walk.blocks.size(), 1u);
    std::atomic<bool> stop{true};
    BlockDecoder decoder;
    va::bzip2::DiscardOutput out;
    EXPECT_FALSE(decoder.decode(Bytes(compressed), walk.blocks[0], out, &stop));
    stop = false;
    EXPECT_TRUE(decoder.decode(Bytes(compressed), walk.blocks[0], out, &stop));
}
