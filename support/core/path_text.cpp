#include "support/core/path_text.h"

namespace va {
namespace {

// The start of the run of separators that ends just before `end`.
std::size_t SkipSeparatorsBack(const std::wstring& path, std::size_t end) noexcept
{
    while (end > 0 && IsPathSeparator(path[end - 1]))
        --end;
    return end;
}

}  // namespace

std::wstring ParentFolder(const std::wstring& path)
{
    const std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos)
        return {};
    return path.substr(0, SkipSeparatorsBack(path, cut));
}

std::wstring ParentFolderKeepingRoot(const std::wstring& path)
{
    const std::size_t end = SkipSeparatorsBack(path, path.size());
    if (end == 0)
        return {};
    const std::size_t cut = path.find_last_of(L"\\/", end - 1);
    if (cut == std::wstring::npos)
        return {};
    const std::size_t keep = SkipSeparatorsBack(path, cut);
    if (keep == 0 || (keep == 2 && path[1] == L':'))
        return path.substr(0, cut + 1);
    return path.substr(0, keep);
}

std::wstring QuotedIfSpaced(const std::wstring& path)
{
    if (path.find(L' ') == std::wstring::npos)
        return path;
    return L"\"" + path + L"\"";
}

}  // namespace va
