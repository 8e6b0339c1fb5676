#include <gtest/gtest.h>

#include "engine/package/core/parallel_bzip2.h"
#include "tests/common/bzip2_samples.h"
#include "tests/common/package_fixture.h"

namespace {

using bzip2_test::Bytes;
using bzip2_test::Noise;
using va::bzip2::ParallelDecoder;
using State = ParallelDecoder::Block::State;

struct Result {
    std::string bytes;
    State last = State::doubt;
    int oversize = 0;
};

Result ReadAll(const std::string& compressed, const va::bzip2::ParallelLimits& limits)
{
    Result r;
    ParallelDecoder decoder(Bytes(compressed), limits, true);
    va::bzip2::BlockDecoder again;
    for (;;) {
        const ParallelDecoder::Block b = decoder.next();
        if (b.state == State::bytes) {
            for (auto piece : b.pieces)
                r.bytes.append(piece.data(), piece.size());
        } else if (b.state == State::oversize) {
            ++r.oversize;
            struct Append : va::bzip2::BlockOutput {
                std::string& out;
                char room[1000];
                explicit Append(std::string& o) : out(o) {}
                std::span<char> space() override { return room; }
                void produced(std::size_t n) override { out.append(room, n); }
            } output(r.bytes);
            EXPECT_TRUE(again.decode(Bytes(compressed), b.segment, output));
        } else {
            r.last = b.state;
            EXPECT_EQ(decoder.next().state, b.state);  // and stays there
            return r;
        }
    }
}

}  // namespace

TEST(ParallelBzip2, LimitsFollowTheProcessors)
{
    EXPECT_EQ(va::bzip2::parallel_limits(0).workers, 0u);
    EXPECT_EQ(va::bzip2::parallel_limits(1).workers, 0u);
    EXPECT_EQ(va::bzip2::parallel_limits(2).workers, 2u);
    EXPECT_EQ(va::bzip2::parallel_limits(2).window, 4u);
    EXPECT_EQ(va::bzip2::parallel_limits(3).workers, 3u);
    EXPECT_EQ(va::bzip2::parallel_limits(4).workers, 4u);
    EXPECT_EQ(va::bzip2::parallel_limits(64).workers, 64u);  // no cap: one worker per processor
    EXPECT_EQ(va::bzip2::parallel_limits(64).window, 66u);
}

TEST(ParallelBzip2, BlocksComeBackInOrderWhateverTheThreadsAndWindow)
{
    const std::string data = Noise(420000, 1) + std::string(200000, '\0') + Noise(100000, 2);
    const std::string compressed = package_test::Compress(data, 1) + package_test::Compress(Noise(50000, 3), 2);
    const std::string whole = data + Noise(50000, 3);
    for (unsigned workers : {1u, 2u, 3u, 4u})
        for (unsigned window : {1u, 2u, 5u})
            for (std::size_t keep : {std::size_t{1} << 20, std::size_t{300000}}) {
                const Result r = ReadAll(compressed, {workers, window, keep});
                EXPECT_EQ(r.last, State::end) << workers << " " << window;
                EXPECT_TRUE(r.bytes == whole) << workers << " " << window << " " << keep;
                // The zeros expand to one block of 200000 bytes among blocks of 100000.
                EXPECT_EQ(r.oversize, keep < 1000000 ? 1 : 0) << workers << " " << window;
            }
}

TEST(ParallelBzip2, DoubtComesAfterTheSoundBlocks)
{
    const std::string data = Noise(520000, 4);
    const std::string good = package_test::Compress(data, 1);
    const auto blocks = bzip2_test::WalkAll(good).blocks;
    ASSERT_GE(blocks.size(), 5u);
    std::vector<std::size_t> before{0};  // decoded bytes before each block
    va::bzip2::BlockDecoder decoder;
    for (const auto& b : blocks) {
        struct Count : va::bzip2::DiscardOutput {
            std::size_t n = 0;
            void produced(std::size_t c) override { n += c; }
        } count;
        ASSERT_TRUE(decoder.decode(Bytes(good), b, count));
        before.push_back(before.back() + count.n);
    }
    ASSERT_EQ(before.back(), data.size());
    for (std::size_t damaged = 0; damaged < blocks.size(); ++damaged) {
        const std::string bad = bzip2_test::Flip(good, (blocks[damaged].begin + blocks[damaged].end) / 2);
        for (unsigned workers : {1u, 3u}) {
            const Result r = ReadAll(bad, {workers, 4, std::size_t{1} << 20});
            EXPECT_EQ(r.last, State::doubt);
            EXPECT_EQ(r.bytes, data.substr(0, before[damaged])) << "blocks before the damaged one " << damaged;
        }
    }
}

TEST(ParallelBzip2, SoundOnlyWhenEverythingIs)
{
    const std::string good = package_test::Compress(Noise(300000, 5), 1);
    const va::bzip2::ParallelLimits two{2, 4, std::size_t{2} << 20};
    EXPECT_TRUE(va::bzip2::sound_in_parallel(Bytes(good), two));
    EXPECT_TRUE(va::bzip2::sound_in_parallel(Bytes(good + good), two));
    EXPECT_FALSE(va::bzip2::sound_in_parallel(Bytes(good + "x"), two));
    EXPECT_FALSE(va::bzip2::sound_in_parallel(Bytes(good.substr(0, good.size() - 1)), two));
    EXPECT_FALSE(va::bzip2::sound_in_parallel(Bytes(bzip2_test::Flip(good, 8 * good.size() / 2)), two));
    EXPECT_FALSE(va::bzip2::sound_in_parallel(Bytes(good), va::bzip2::parallel_limits(1)));  // no worker, no say
}

TEST(ParallelBzip2, StopsEarlyWhenTheCallerLeaves)
{
    const std::string compressed = package_test::Compress(Noise(800000, 6), 1);
    for (unsigned workers : {1u, 4u}) {
        ParallelDecoder decoder(Bytes(compressed), {workers, 6, std::size_t{1} << 20}, true);
        EXPECT_EQ(decoder.next().state, State::bytes);
    }  // the destructor joins workers still busy with later blocks
}
