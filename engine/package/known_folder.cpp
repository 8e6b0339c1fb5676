#include "engine/package/known_folder.h"

#include <shlobj.h>

#include "engine/package/core/compress_error.h"
#include "engine/package/core/folder_tokens.h"

namespace va {
namespace {

std::wstring Lookup(int csidl, HWND owner)
{
    wchar_t buffer[MAX_PATH] = {};
    // Only an empty answer counts as failure: the status is not reliable
    // across shell versions.
    ::SHGetFolderPathW(owner, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
    return buffer;
}

}  // namespace

std::wstring known_folder(int csidl, int secondChoice, HWND owner)
{
    std::wstring folder = Lookup(csidl, owner);
    if (folder.empty() && secondChoice != csidl::none)
        folder = Lookup(secondChoice, owner);
    if (folder.empty())
        throw_compress_error(compress_errc::unexpected);
    return folder;
}

}  // namespace va
