#pragma once

#include <string>

namespace va {

// A path's file name without its folder and last extension.
inline std::wstring FileStem(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

}  // namespace va
