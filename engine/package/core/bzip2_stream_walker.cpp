#include "engine/package/core/bzip2_stream_walker.h"

namespace va::bzip2 {

StreamWalker::Step StreamWalker::stream_header()
{
    // "BZh" and the block size digit, then a signature right after it.
    const std::uint64_t at = streamStart_;
    if (data_.size() < 4 || at > data_.size() - 4 || data_[at] != 'B' || data_[at + 1] != 'Z' ||
        data_[at + 2] != 'h' || data_[at + 3] < '1' || data_[at + 3] > '9')
        return stop(Step::doubt);
    level_ = data_[at + 3] - '0';
    const std::uint64_t first = (at + 4) * 8;
    const std::optional<Marker> marker = find_marker(data_, first);
    if (!marker || marker->bit != first)
        return stop(Step::doubt);
    marker_ = *marker;
    combined_ = 0;
    inStream_ = true;
    return Step::block;  // only means "go on"
}

StreamWalker::Step StreamWalker::next(BlockSegment& block)
{
    if (final_)
        return *final_;
    const std::uint64_t totalBits = std::uint64_t{data_.size()} * 8;
    for (;;) {
        if (!inStream_ && stream_header() != Step::block)
            return *final_;
        if (marker_.bit + kMagicBits + kCrcBits > totalBits)
            return stop(Step::doubt);
        const auto crc = static_cast<std::uint32_t>(read_bits(data_, marker_.bit + kMagicBits, kCrcBits));
        if (marker_.kind == MarkerKind::block) {
            // The block runs to the next signature; one found by chance
            // inside it makes its decoding fail, never pass.
            const std::optional<Marker> next = find_marker(data_, marker_.bit + 1);
            if (!next)
                return stop(Step::doubt);
            block = {marker_.bit, next->bit, level_};
            combined_ = ((combined_ << 1) | (combined_ >> 31)) ^ crc;
            marker_ = *next;
            return Step::block;
        }
        if (crc != combined_)
            return stop(Step::doubt);
        inStream_ = false;
        streamStart_ = (marker_.bit + kMagicBits + kCrcBits + 7) / 8;  // the rest of the byte is padding
        if (streamStart_ == data_.size())
            return stop(Step::end);
    }
}

}  // namespace va::bzip2
