#pragma once
// The decompressed package: an 8-byte table length, a 4-byte entry count and
// the entry records, followed by every entry's data in table order.  All
// integers little-endian; no signature (the first bytes are a length).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace va {

enum EntryKind : std::uint32_t {
    LanguageLibrary = 0,
    MainProgram = 1,
    Uninstaller = 2,
    UserData = 3,           // data the user may change
    SampleOrTexture = 4,
    DirectXSetupFile = 5,
};

struct PackageEntry {
    std::wstring source;       // path on the machine that built the package
    std::wstring destination;  // folder as read; the full target path once resolved
    std::uint32_t kind = 0;
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    // Once resolved: the folder the destination's token stands for (empty
    // for a plain path).  Nothing below it is reached through a link.
    std::wstring root;
};

inline constexpr std::uint64_t kTableHeaderSize = 12;  // length and count
inline constexpr std::uint64_t kMinimumRecordSize = 4 + 4 + 4 + 8 + 4;
// A bound far above any real table, so that a damaged length cannot make the
// reader buffer the whole stream.
inline constexpr std::uint64_t kMaximumTableLength = 64ull << 20;

// Reads the table length from the first 8 bytes.
std::uint64_t read_table_length(const unsigned char* bytes) noexcept;

// Whether a table length read from a stream can be a table at all.
bool plausible_table_length(std::uint64_t length) noexcept;

// Parses a complete table (the first table-length bytes of the package).
// Raises unexpected (7) when the records do not fill the table exactly.
std::vector<PackageEntry> parse_table(const unsigned char* bytes, std::size_t length);

// The table of `entries` (destinations as folders), as the reader expects it.
std::vector<unsigned char> encode_table(const std::vector<PackageEntry>& entries);

// The text after the last backslash, slash or colon.
std::wstring_view file_name_of(std::wstring_view source) noexcept;

}  // namespace va
