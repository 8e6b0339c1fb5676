#pragma once
// Reads a package back: its table, and every entry's bytes checked against
// the CRC-32 the table gives.

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "engine/package/core/package_format.h"

namespace packager {

struct ListedEntry {
    va::PackageEntry entry;
    std::uint32_t actualCrc = 0;
    std::uint64_t received = 0;  // bytes of this entry present in the stream
};

struct Listing {
    std::uint64_t tableLength = 0;
    std::uint64_t decompressed = 0;
    std::uint64_t compressed = 0;
    std::vector<ListedEntry> entries;
    std::vector<std::string> problems;  // empty: the package is sound

    bool ok() const noexcept { return problems.empty(); }
};

Listing list_package(const std::filesystem::path& package, std::ostream* progress);

void print_listing(const Listing& listing, std::ostream& out);

}  // namespace packager
