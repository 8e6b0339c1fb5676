#pragma once
// What SamePath needs to know of one path, so that a comparison of many
// paths asks the file system once per path.

#include <windows.h>

#include <optional>
#include <string>

namespace va {

struct FileIdentity {
    DWORD Volume = 0;
    DWORD IndexHigh = 0;
    DWORD IndexLow = 0;

    bool operator==(const FileIdentity&) const = default;
};

struct PathFacts {
    bool Exists = false;
    std::optional<FileIdentity> Identity;  // missing when the object could not be opened
    std::wstring FullPath;                 // absolute, "." and ".." resolved
};

PathFacts FactsOf(const std::wstring& path);

// The last two rules of SamePath, for paths that differ lexically.
bool SameByFacts(const PathFacts& a, const PathFacts& b);

}  // namespace va
