#include "engine/package/link_free_path.h"

#include <shlwapi.h>

#include "support/core/path_compare.h"
#include "support/core/path_text.h"
#include "support/link_free_open.h"

namespace va {
namespace {

constexpr DWORD kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Spelling-equal as paths: either separator, runs of them as one, letter
// case ignored (folder names are case-insensitive here).
bool SamePrefixSpelling(const std::wstring& a, const std::wstring& b)
{
    std::size_t i = 0, j = 0;
    while (true) {
        while (i < a.size() && IsPathSeparator(a[i]) && (i + 1 == a.size() || IsPathSeparator(a[i + 1])))
            ++i;
        while (j < b.size() && IsPathSeparator(b[j]) && (j + 1 == b.size() || IsPathSeparator(b[j + 1])))
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        const bool sa = IsPathSeparator(a[i]), sb = IsPathSeparator(b[j]);
        if (sa != sb || (!sa && FoldPathCase(a[i]) != FoldPathCase(b[j])))
            return false;
        ++i;
        ++j;
    }
}

}  // namespace

std::vector<std::wstring> FoldersBelowRoot(const std::wstring& root, const std::wstring& folder)
{
    // Every prefix of `folder` ending before a separator, and the folder.
    std::vector<std::wstring> prefixes;
    const wchar_t* skipped = ::PathSkipRootW(folder.c_str());
    std::size_t start = skipped ? static_cast<std::size_t>(skipped - folder.c_str()) : 0;
    for (std::size_t i = start; i <= folder.size(); ++i) {
        if (i == folder.size() || IsPathSeparator(folder[i])) {
            if (i > start && !IsPathSeparator(folder[i - 1]))
                prefixes.push_back(folder.substr(0, i));
        }
    }
    if (!root.empty()) {
        for (std::size_t k = 0; k < prefixes.size(); ++k) {
            if (SamePrefixSpelling(prefixes[k], root))
                return {prefixes.begin() + static_cast<std::ptrdiff_t>(k + 1), prefixes.end()};
        }
    }
    return prefixes;
}

DWORD PinnedFolderChain::Pin(const std::wstring& root, const std::wstring& folder)
{
    const std::vector<std::wstring> chain = FoldersBelowRoot(root, folder);
    std::size_t kept = 0;
    if (root == root_) {
        while (kept < folders_.size() && kept < chain.size() && folders_[kept] == chain[kept])
            ++kept;
    }
    held_.resize(kept);
    folders_.resize(kept);
    root_ = root;
    for (std::size_t i = kept; i < chain.size(); ++i) {
        const std::wstring& link = chain[i];
        UniqueFile handle = OpenWithoutFollowing(link, FILE_READ_ATTRIBUTES, kShareAllButDelete);
        if (!handle) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                break;  // nothing below a missing folder exists either
            Release();
            return error != ERROR_SUCCESS ? error : DWORD{ERROR_CANT_ACCESS_FILE};
        }
        ItemFacts facts{};
        if (CheckNotLink(link, handle.get(), facts) != ERROR_SUCCESS) {
            Release();
            return ERROR_CANT_ACCESS_FILE;
        }
        held_.push_back(std::move(handle));
        folders_.push_back(link);
    }
    return ERROR_SUCCESS;
}

void PinnedFolderChain::Release() noexcept
{
    held_.clear();
    folders_.clear();
    root_.clear();
}

DWORD CheckNoReparsePoint(const std::wstring& root, const std::wstring& path, PinnedFolderChain& chain)
{
    const DWORD error = chain.Pin(root, ParentFolder(path));
    if (error != ERROR_SUCCESS)
        return error;
    UniqueFile file = OpenWithoutFollowing(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ItemFacts facts{};
    if (file && CheckNotLink(path, file.get(), facts) != ERROR_SUCCESS)
        return ERROR_CANT_ACCESS_FILE;
    return ERROR_SUCCESS;
}

}  // namespace va
