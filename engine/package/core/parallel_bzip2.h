#pragma once
// bzip2 data decoded on several threads, block by block, handed back in
// order.  Worker threads walk the data (one at a time), decode the blocks
// they take with libbz2 and keep the decoded bytes until the caller has
// taken them; at most `window` blocks are ahead of the caller, so memory
// stays flat whatever the size of the data.  The threads live exactly as
// long as the ParallelDecoder.
//
// Memory beyond the caller's: per worker libbz2's tables (3.6 MB at level
// 9) and 48 KB of buffers; per block of the window at most `block_bytes`
// of decoded bytes, in pieces of 256 KB allocated as they fill.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "engine/package/core/bzip2_block_decoder.h"
#include "engine/package/core/bzip2_stream_walker.h"

namespace va::bzip2 {

struct ParallelLimits {
    unsigned workers = 2;
    unsigned window = 4;                     // blocks decoded ahead of the caller; at least `workers`
    std::size_t block_bytes = std::size_t{3} << 19;  // decoded bytes kept per block (1.5 MiB)
};

// Workers for this many processors: one each, none below two (one thread
// does as well alone).  No cap: each worker costs about 5 MiB beyond the
// caller's (libbz2's tables, its buffers and one block of the window), and
// the window adds two blocks more (3 MiB): 13 MiB on two processors, 23 MiB
// on four.  A 32-bit process sees at most 32 processors (163 MiB); where
// memory runs out the decoding only stops vouching, and the serial reader
// goes on.
ParallelLimits parallel_limits(unsigned processors);

class ParallelDecoder {
public:
    struct Block {
        enum class State {
            bytes,     // `pieces` hold the block's decoded bytes, in order
            oversize,  // decoded and sound, but more than `block_bytes`: decode `segment` again
            end,       // no more blocks: the data ended soundly
            doubt,     // the data cannot be vouched for from here on
        };
        State state = State::doubt;
        std::span<const std::span<const char>> pieces;
        BlockSegment segment;
    };

    // keepOutput false: the blocks are only checked (their bytes are
    // thrown away) and every block comes back with no pieces.
    ParallelDecoder(std::span<const unsigned char> data, const ParallelLimits& limits, bool keepOutput);
    ~ParallelDecoder();
    ParallelDecoder(const ParallelDecoder&) = delete;
    ParallelDecoder& operator=(const ParallelDecoder&) = delete;

    // The next block in order, waiting for it; what the last call returned
    // is released.  After end or doubt, the same again.
    Block next();

private:
    static constexpr std::size_t kPieceBytes = 256 * 1024;
    static constexpr std::uint64_t kNoLimit = UINT64_MAX;

    enum class SlotState { empty, busy, bytes, oversize, failed };
    struct Slot {
        SlotState state = SlotState::empty;
        BlockSegment segment;
        std::vector<std::unique_ptr<char[]>> pieces;
        std::size_t lastFill = 0;  // bytes in the last piece
    };
    class SlotOutput;

    void work();
    bool take(std::uint64_t& index, BlockSegment& segment);
    void settle(std::uint64_t index, bool ok, bool oversize);
    void end_at(std::uint64_t index, Block::State state);
    std::unique_ptr<char[]> piece();
    void recycle(Slot& slot);

    std::span<const unsigned char> data_;
    ParallelLimits limits_;
    bool keepOutput_;

    std::mutex mutex_;
    std::condition_variable workReady_;   // a worker may take a block, or must stop
    std::condition_variable blockReady_;  // the caller's block is settled
    StreamWalker walker_;
    std::vector<Slot> slots_;
    std::vector<std::unique_ptr<char[]>> freePieces_;
    std::uint64_t nextIndex_ = 0;  // the next block a worker takes
    std::uint64_t consumed_ = 0;   // the block the caller gets next
    std::uint64_t limit_ = kNoLimit;  // where the blocks end (end) or stop being trusted (doubt)
    Block::State limitState_ = Block::State::doubt;
    bool handedOut_ = false;  // the caller holds block consumed_
    std::atomic<bool> stop_{false};
    std::vector<std::span<const char>> handed_;
    std::vector<std::thread> threads_;
};

// True only when the data is sound bzip2 data throughout (every block
// decodes with its CRC, every stream's combined CRC matches, the data
// ends with a stream).  False says nothing: decide by other means.
bool sound_in_parallel(std::span<const unsigned char> data, const ParallelLimits& limits);

}  // namespace va::bzip2
