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
    areas.AddRoot(SpecialFolder(csidl::common_desktop_directory));
    areas.AddRoot(SpecialFolder(csidl::desktop_directory));
    for (std::wstring_view destination : kPackageDestinations)
        for (const std::wstring& folder : ResolvePackageFolder(destination, log.InstallPath, SpecialFolder))
            areas.AddRoot(folder);

    for (const FolderToken& token : SystemFolderTokens()) {
        areas.AddProtected(SpecialFolder(token.csidl));
        if (token.secondChoice != csidl::none)
            areas.AddProtected(SpecialFolder(token.secondChoice));
    }
    for (int csidl : {csidl::programs, csidl::common_programs, csidl::start_menu, csidl::common_start_menu,
                      csidl::profile})
        areas.AddProtected(SpecialFolder(csidl));
    wchar_t temp[MAX_PATH + 1] = {};
    if (::GetTempPathW(MAX_PATH + 1, temp))
        areas.AddProtected(temp);
    return areas;
}

}  // namespace va::uninstall
