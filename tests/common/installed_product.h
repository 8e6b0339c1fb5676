#pragma once
// Everything an installation of the product leaves on the machine, found
// where the installer puts it, and removed again: the end-to-end tests of
// the installation start from and return to a machine without the product.

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "tests/common/remove_tree.h"
#include "tests/common/scratch_registry.h"

namespace va::test {

inline std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE))
        return {};
    return path;
}

// Where a quick installation puts the product.
struct ProductPlaces {
    std::wstring installFolder = SpecialFolder(CSIDL_PROGRAM_FILES) + L"\\Vantaro\\Trelvane 7";
    std::wstring startMenuFolder = SpecialFolder(CSIDL_COMMON_PROGRAMS) + L"\\Vantaro\\Trelvane 7";
    std::wstring commonData = SpecialFolder(CSIDL_COMMON_APPDATA) + L"\\Vantaro\\Trelvane 7";
    std::wstring userData = SpecialFolder(CSIDL_APPDATA) + L"\\Vantaro\\Trelvane 7";
    std::wstring samples = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Trelvane Examples";
    std::vector<std::wstring> desktopLinks = {
        SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Trelvane 7.08g.lnk",
        SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\Trelvane 7.08g.lnk",
    };
};

// The file types the stand-in program registers.
inline constexpr const wchar_t* kProductClassKeys[] = {
    L".tv-proj", L".tv-cab", L".tv-lib", L"Trelvane.Project.7", L"Trelvane.Cabinet.7", L"Trelvane.Library.7",
};

inline void RemoveKeyTree(HKEY root, const std::wstring& key)
{
    ::RegDeleteTreeW(root, key.c_str());
    ::RegDeleteKeyW(root, key.c_str());
}

// Removes the folder `path` and then its parent when that is left empty
// (the maker's folder above the product's).
inline void RemoveProductFolder(const std::wstring& path)
{
    RemoveTree(path);
    const size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos)
        ::RemoveDirectoryW(path.substr(0, slash).c_str());
}

// The machine without the product: keys, files, links, file types and the
// stand-ins' own records.
inline void RemoveInstalledProduct()
{
    RemoveProductKeys();
    for (const wchar_t* key : kProductClassKeys)
        RemoveKeyTree(HKEY_CLASSES_ROOT, key);
    RemoveKeyTree(HKEY_CURRENT_USER, L"Software\\Vantaro\\Test");
    const ProductPlaces places;
    for (const std::wstring& folder :
         {places.installFolder, places.startMenuFolder, places.commonData, places.userData})
        RemoveProductFolder(folder);
    RemoveTree(places.samples);
    for (const std::wstring& link : places.desktopLinks)
        ::DeleteFileW(link.c_str());
}

}  // namespace va::test
