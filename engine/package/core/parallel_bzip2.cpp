#include "engine/package/core/parallel_bzip2.h"

#include <algorithm>

namespace va::bzip2 {

ParallelLimits parallel_limits(unsigned processors)
{
    ParallelLimits limits;
    limits.workers = processors < 2 ? 0 : processors;
    limits.window = limits.workers + 2;
    return limits;
}

// A block's bytes in pieces of the shared pool, up to the limit; past it
// the bytes are thrown away and the block is marked oversize.
class ParallelDecoder::SlotOutput : public BlockOutput {
public:
    SlotOutput(ParallelDecoder& owner, Slot& slot) : owner_(owner), slot_(slot) {}

    std::span<char> space() override
    {
        if (oversize_)
            return discard_.space();
        if (slot_.pieces.empty() || slot_.lastFill == kPieceBytes) {
            if ((slot_.pieces.size() + 1) * kPieceBytes > owner_.limits_.block_bytes) {
                oversize_ = true;
                return discard_.space();
            }
            slot_.pieces.push_back(owner_.piece());
            slot_.lastFill = 0;
        }
        return {slot_.pieces.back().get() + slot_.lastFill, kPieceBytes - slot_.lastFill};
    }

    void produced(std::size_t count) override
    {
        if (!oversize_)
            slot_.lastFill += count;
    }

    bool oversize() const noexcept { return oversize_; }

private:
    ParallelDecoder& owner_;
    Slot& slot_;
    DiscardOutput discard_;
    bool oversize_ = false;
};

ParallelDecoder::ParallelDecoder(std::span<const unsigned char> data, const ParallelLimits& limits, bool keepOutput)
    : data_(data), limits_(limits), keepOutput_(keepOutput), walker_(data)
{
    limits_.window = std::max({limits_.window, limits_.workers, 1u});
    slots_.resize(limits_.window);
    // Recycling never allocates (a worker must not fail there).
    freePieces_.reserve(limits_.window * (limits_.block_bytes / kPieceBytes + 1));
    try {
        for (unsigned i = 0; i < limits_.workers; ++i)
            threads_.emplace_back([this] { work(); });
    } catch (...) {
        // No thread at all: nothing can be vouched for.  Fewer: slower.
    }
    if (threads_.empty())
        end_at(0, Block::State::doubt);
}

ParallelDecoder::~ParallelDecoder()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    workReady_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

std::unique_ptr<char[]> ParallelDecoder::piece()
{
    std::lock_guard lock(mutex_);
    if (freePieces_.empty())
        return std::make_unique_for_overwrite<char[]>(kPieceBytes);
    std::unique_ptr<char[]> p = std::move(freePieces_.back());
    freePieces_.pop_back();
    return p;
}

void ParallelDecoder::recycle(Slot& slot)
{
    for (auto& p : slot.pieces)
        freePieces_.push_back(std::move(p));
    slot.pieces.clear();
    slot.lastFill = 0;
    slot.state = SlotState::empty;
}

void ParallelDecoder::end_at(std::uint64_t index, Block::State state)
{
    if (index < limit_) {
        limit_ = index;
        limitState_ = state;
    }
    workReady_.notify_all();
    blockReady_.notify_all();
}

bool ParallelDecoder::take(std::uint64_t& index, BlockSegment& segment)
{
    std::unique_lock lock(mutex_);
    workReady_.wait(lock, [this] { return stop_ || nextIndex_ >= limit_ || nextIndex_ < consumed_ + limits_.window; });
    if (stop_ || nextIndex_ >= limit_)
        return false;
    const StreamWalker::Step step = walker_.next(segment);
    if (step != StreamWalker::Step::block) {
        end_at(nextIndex_, step == StreamWalker::Step::end ? Block::State::end : Block::State::doubt);
        return false;
    }
    index = nextIndex_++;
    Slot& slot = slots_[index % slots_.size()];
    slot.state = SlotState::busy;
    slot.segment = segment;
    return true;
}

void ParallelDecoder::settle(std::uint64_t index, bool ok, bool oversize)
{
    std::lock_guard lock(mutex_);
    Slot& slot = slots_[index % slots_.size()];
    if (!ok) {
        recycle(slot);
        slot.state = SlotState::failed;
        end_at(index, Block::State::doubt);
        return;
    }
    if (oversize)
        recycle(slot);
    slot.state = oversize ? SlotState::oversize : SlotState::bytes;
    if (index == consumed_)
        blockReady_.notify_all();
}

void ParallelDecoder::work()
{
    std::unique_ptr<BlockDecoder> decoder;
    std::uint64_t index = 0;
    BlockSegment segment;
    while (take(index, segment)) {
        bool ok = false;
        bool oversize = false;
        try {
            if (!decoder)
                decoder = std::make_unique<BlockDecoder>();
            if (keepOutput_) {
                // Only this worker touches the slot until it is settled.
                SlotOutput output(*this, slots_[index % slots_.size()]);
                ok = decoder->decode(data_, segment, output, &stop_);
                oversize = output.oversize();
            } else {
                DiscardOutput output;
                ok = decoder->decode(data_, segment, output, &stop_);
            }
        } catch (...) {
            ok = false;  // out of memory: the caller falls back on other means
        }
        settle(index, ok, oversize);
    }
}

ParallelDecoder::Block ParallelDecoder::next()
{
    std::unique_lock lock(mutex_);
    if (handedOut_) {
        recycle(slots_[consumed_ % slots_.size()]);
        ++consumed_;
        handedOut_ = false;
        workReady_.notify_all();
    }
    Slot* slot = nullptr;
    blockReady_.wait(lock, [&] {
        if (consumed_ >= limit_)
            return true;
        slot = &slots_[consumed_ % slots_.size()];
        // Settled, and taken for this index (a slot is reused only once
        // its block has been handed out).
        return consumed_ < nextIndex_ && slot->state != SlotState::busy && slot->state != SlotState::empty;
    });
    Block block;
    if (consumed_ >= limit_) {
        block.state = limitState_;
        return block;
    }
    if (slot->state == SlotState::failed) {
        block.state = Block::State::doubt;  // limit_ says so too, by now
        return block;
    }
    handedOut_ = true;
    block.segment = slot->segment;
    handed_.clear();
    if (slot->state == SlotState::oversize) {
        block.state = Block::State::oversize;
        return block;
    }
    block.state = Block::State::bytes;
    for (std::size_t i = 0; i < slot->pieces.size(); ++i)
        handed_.emplace_back(slot->pieces[i].get(), i + 1 == slot->pieces.size() ? slot->lastFill : kPieceBytes);
    block.pieces = handed_;
    return block;
}

bool sound_in_parallel(std::span<const unsigned char> data, const ParallelLimits& limits)
{
    if (limits.workers == 0)
        return false;
    try {
        ParallelDecoder decoder(data, limits, false);
        for (;;) {
            const ParallelDecoder::Block block = decoder.next();
            if (block.state == ParallelDecoder::Block::State::end)
                return true;
            if (block.state == ParallelDecoder::Block::State::doubt)
                return false;
        }
    } catch (...) {
        return false;  // out of memory: no say
    }
}

}  // namespace va::bzip2
