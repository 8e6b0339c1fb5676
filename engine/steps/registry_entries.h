#pragma once
// The product's entry in the system's list of installed programs and the
// maker's key that records where the main program lives.

#include <cstdint>
#include <string>

#include "identity/core/registry_locations.h"

namespace va {

class UninstallLog;

inline constexpr const wchar_t* kMakerWebSite = L"https://www.vantaro.example/";
inline constexpr const wchar_t* kMakerTelephone = L"+1 555 0147";

// Full destinations of the main program and of the uninstaller.
struct ProductPaths {
    std::wstring mainProgram;
    std::wstring uninstaller;
};

// "<uninstaller>" /quiet: the uninstaller's command line without questions.
std::wstring QuietUninstallCommand(const std::wstring& uninstallerPath);

// The twelve values of HKEY_LOCAL_MACHINE <kUninstallRoot>\<ProductKey>,
// then "QuietUninstallString" for deployment tools, journalled (with a backup of the key when it existed).  Values the key
// already holds under other names stay; an existing key that cannot be
// saved is not changed.  True when "DisplayName" and "UninstallString" were
// both written.
bool WriteUninstallKey(UninstallLog& log, const ProductPaths& paths, std::uint32_t languageIndex);

// "<ProductKey> Path" under HKEY_LOCAL_MACHINE <kMakerKey>.  Not journalled.
bool WriteProductPathValue(const std::wstring& mainProgramPath);

}  // namespace va
