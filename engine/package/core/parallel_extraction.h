#pragma once
// The package's decompression on several processors, for verification and
// for extraction.  Both only ever confirm: where the parallel decoding
// cannot vouch for the data, the serial reader takes over and decides, so
// verdicts, error codes and notifications stay those of the serial reader.

#include <cstdint>
#include <istream>

#include "engine/package/core/package_extractor.h"

namespace va {

// True when the stream (read in place from memory) is sound bzip2 data to
// its end; the stream is then left as the serial verification leaves it.
// False decides nothing, and the stream is untouched.
bool verify_in_parallel(std::istream& stream, unsigned processors);

struct ParallelExtraction {
    bool complete = false;         // every byte went to the extractor, the stream is read to its end
    std::uint64_t compressed = 0;  // bytes read from the stream, when complete
    std::uint64_t delivered = 0;   // decompressed bytes the extractor has received
};

// Feeds the extractor the decompressed bytes in the blocks the serial
// chain forms (4096 bytes each, counted from the start, the last one
// shorter), so that it sends the same notifications.  Stops short where
// the data cannot be vouched for; `delivered` is then a whole number of
// blocks, and the serial chain goes on from there.  What the extractor
// raises passes through.
ParallelExtraction extract_in_parallel(std::istream& stream, PackageExtractor& extractor, unsigned processors);

}  // namespace va
