#pragma once
// Whether two paths name the same file system object.

#include <map>
#include <string>

#include "engine/journal/path_identity.h"

namespace va {

// The same spelling (support/core/path_compare.h), else the same file
// identity when both exist, else the same full path.
bool SamePath(const std::wstring& a, const std::wstring& b);

// SamePath over many pairs, asking the file system once per distinct path
// that exists (a path missing so far is asked again: it may have been made
// since).  For the time of one run: an identity is not looked at again.
class SamePathCache {
public:
    bool operator()(const std::wstring& a, const std::wstring& b);

private:
    const PathFacts& Facts(const std::wstring& path);

    std::map<std::wstring, PathFacts> facts_;
};

}  // namespace va
