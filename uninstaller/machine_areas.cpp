#include "uninstaller/machine_areas.h"

#include <windows.h>
#include <shlobj.h>

#include <string_view>

#include "uninstaller/core/package_folders.h"
#include "uninstaller/package_destinations.inc"  // kPackageDestinations, generated from the package's manifest

namespace va::uninstall {

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH + 1] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

ProductAreas MachineProductAreas(const LogContents& log)
{
    ProductAreas areas;
    areas.AddRoot(log.InstallPath);
    if (!log.ShortcutPath.empty())
        areas.AddRoot(log.ShortcutPath);
    areas.AddRoot(SpecialFolder(kCsidlCommonDesktopDirectory));
    areas.AddRoot(SpecialFolder(kCsidlDesktopDirectory));
    for (std::wstring_view destination : kPackageDestinations)
        for (const std::wstring& folder : ResolvePackageFolder(destination, log.InstallPath, SpecialFolder))
            areas.AddRoot(folder);

    for (const SystemFolderToken& token : SystemFolderTokens()) {
        areas.AddProtected(SpecialFolder(token.csidl));
        if (token.secondChoice >= 0)
            areas.AddProtected(SpecialFolder(token.secondChoice));
    }
    for (int csidl : {kCsidlPrograms, kCsidlCommonPrograms, kCsidlStartMenu, kCsidlCommonStartMenu, kCsidlProfile})
        areas.AddProtected(SpecialFolder(csidl));
    wchar_t temp[MAX_PATH + 1] = {};
    if (::GetTempPathW(MAX_PATH + 1, temp))
        areas.AddProtected(temp);
    return areas;
}

}  // namespace va::uninstall
