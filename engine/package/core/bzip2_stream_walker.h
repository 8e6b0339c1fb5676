#pragma once
// Walks bzip2 data from block to block without decoding them: the stream
// header, each block's signature up to the next signature, the end of the
// stream with its combined CRC (folded from the blocks' stored CRCs), then
// either the end of the data or a further stream.  The blocks themselves
// are checked by whoever decodes them.

#include <cstdint>
#include <optional>
#include <span>

#include "engine/package/core/bzip2_block_decoder.h"
#include "engine/package/core/bzip2_block_finder.h"

namespace va::bzip2 {

class StreamWalker {
public:
    enum class Step {
        block,  // the next block, to be decoded
        end,    // every stream ended where it should and so did the data
        doubt,  // anything else: the layout is not what a compressor writes
    };

    explicit StreamWalker(std::span<const unsigned char> data) : data_(data) {}

    // After `end` or `doubt`, every further call returns the same.
    Step next(BlockSegment& block);

private:
    Step stream_header();
    Step stop(Step step) { return *(final_ = step); }

    std::span<const unsigned char> data_;
    std::optional<Step> final_;
    bool inStream_ = false;
    std::uint64_t streamStart_ = 0;  // byte offset of the stream to read next
    Marker marker_;                  // the signature at the walk's position
    int level_ = 9;
    std::uint32_t combined_ = 0;
};

}  // namespace va::bzip2
