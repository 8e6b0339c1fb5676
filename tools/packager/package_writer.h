#pragma once
// Writes a package: the table with every entry's size and CRC-32, then the
// files' bytes in table order, all as one bzip2 stream.

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <vector>

#include "tools/packager/manifest.h"

namespace packager {

struct PackResult {
    std::uint64_t decompressed = 0;
    std::uint64_t compressed = 0;
    std::size_t entries = 0;
};

// Raises std::runtime_error with a message for the maker.  `progress`, when
// given, receives a line per tenth of the work on large inputs.  The output
// appears only when complete.
PackResult write_package(const std::vector<ManifestEntry>& entries, const std::filesystem::path& output,
                         std::ostream* progress, int blockSize100k = 9);

}  // namespace packager
