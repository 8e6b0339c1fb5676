#pragma once
// The maker's list of what goes into a package, one entry a line:
//
//     kind | destination folder | source file
//
// kind is a number 0 to 5 or one of language, program, uninstaller, data,
// sample, directx; the destination begins with a folder token such as
// <InstallPath> (or is an absolute folder); the source is relative to the
// source folder.  Blank lines and lines starting with # are ignored.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace packager {

struct ManifestEntry {
    int line = 0;
    std::uint32_t kind = 0;
    std::wstring destination;       // as the package stores it
    std::wstring source;            // as the package stores it (backslashes)
    std::filesystem::path file;     // where the bytes are read from
};

class ManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises ManifestError naming the manifest and the line.
std::vector<ManifestEntry> read_manifest(const std::filesystem::path& manifest,
                                         const std::filesystem::path& sourceFolder);

// The same, from text (`name` is used in messages).
std::vector<ManifestEntry> parse_manifest(const std::string& text, const std::string& name,
                                          const std::filesystem::path& sourceFolder);

inline constexpr std::size_t kMaximumPath = 259;  // MAX_PATH without its terminator
inline constexpr std::size_t kMaximumName = 255;

}  // namespace packager
