#include "engine/journal/same_path.h"

#include "support/core/path_compare.h"
#include "support/handles.h"

namespace va {
namespace {

std::optional<FileIdentity> IdentityOf(const std::wstring& path)
{
    // No access asked: reading the identity needs none, and folders open too.
    UniqueFile file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

std::wstring FullPathOf(const std::wstring& path)
{
    if (path.empty())
        return path;
    DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return full;
}

}  // namespace

PathFacts FactsOf(const std::wstring& path)
{
    PathFacts facts;
    facts.Exists = !path.empty() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (facts.Exists)
        facts.Identity = IdentityOf(path);
    facts.FullPath = FullPathOf(path);
    return facts;
}

bool SameByFacts(const PathFacts& a, const PathFacts& b)
{
    if (a.Exists && b.Exists && a.Identity && b.Identity)
        return *a.Identity == *b.Identity;
    // Either is missing (or unreadable): only the spelling can tell.
    return PathsEqualLexically(a.FullPath, b.FullPath);
}

bool SamePathCache::operator()(const std::wstring& a, const std::wstring& b)
{
    if (PathsEqualLexically(a, b))
        return true;
    return SameByFacts(Facts(a), Facts(b));
}

const PathFacts& SamePathCache::Facts(const std::wstring& path)
{
    auto found = facts_.find(path);
    if (found == facts_.end())
        found = facts_.emplace(path, FactsOf(path)).first;
    else if (!found->second.Exists)
        found->second = FactsOf(path);  // made since: its identity now decides
    return found->second;
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    SamePathCache once;
    return once(a, b);
}

}  // namespace va
