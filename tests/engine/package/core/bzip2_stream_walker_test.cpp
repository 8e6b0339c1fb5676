#include <gtest/gtest.h>

#include "tests/common/bzip2_samples.h"
#include "tests/common/package_fixture.h"

namespace {

using bzip2_test::Noise;
using bzip2_test::WalkAll;
using Step = va::bzip2::StreamWalker::Step;

}  // namespace

TEST(Bzip2StreamWalker, BlocksFollowEachOtherToTheEnd)
{
    const std::string one = package_test::Compress(Noise(330000, 1), 1);
    const std::string two = package_test::Compress(Noise(150000, 2), 3);
    const auto walk = WalkAll(one + two);
    EXPECT_EQ(walk.last, Step::end);
    ASSERT_EQ(walk.blocks.size(), WalkAll(one).blocks.size() + WalkAll(two).blocks.size());
    EXPECT_EQ(walk.blocks.front().begin, 32u);
    EXPECT_EQ(walk.blocks.back().level, 3);
    EXPECT_EQ(walk.blocks.back().begin, 8 * one.size() + 32);
    for (std::size_t i = 1; i < WalkAll(one).blocks.size(); ++i)
        EXPECT_EQ(walk.blocks[i].begin, walk.blocks[i - 1].end);
}

TEST(Bzip2StreamWalker, AnythingElseIsInDoubt)
{
    const std::string good = package_test::Compress(Noise(250000, 3), 1);
    const auto blocks = WalkAll(good).blocks;
    ASSERT_GE(blocks.size(), 3u);
    const std::uint64_t endMarker = blocks.back().end;
    struct Case {
        const char* what;
        std::string data;
        Step last;
        std::size_t blocks;  // handed out before the walk stopped
    };
    const Case cases[] = {
        {"whole", good, Step::end, blocks.size()},
        {"empty", "", Step::doubt, 0},
        {"no header", good.substr(4), Step::doubt, 0},
        {"level 0", "BZh0" + good.substr(4), Step::doubt, 0},
        {"header only", good.substr(0, 4), Step::doubt, 0},
        {"cut at a block", good.substr(0, blocks[2].begin / 8), Step::doubt, 1},
        {"cut in the end marker", good.substr(0, good.size() - 3), Step::doubt, blocks.size()},
        {"wrong combined CRC", bzip2_test::Flip(good, endMarker + 60), Step::doubt, blocks.size()},
        {"wrong block CRC", bzip2_test::Flip(good, blocks[1].begin + 50), Step::doubt, blocks.size()},
        {"trailing byte", good + '\0', Step::doubt, blocks.size()},
        {"trailing stream header", good + "BZh9", Step::doubt, blocks.size()},
        {"no block", package_test::Compress("", 9), Step::end, 0},
    };
    for (const Case& c : cases) {
        const auto walk = WalkAll(c.data);
        EXPECT_EQ(walk.last, c.last) << c.what;
        EXPECT_EQ(walk.blocks.size(), c.blocks) << c.what;
    }
}
