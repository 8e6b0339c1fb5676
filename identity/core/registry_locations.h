#pragma once
// Where the product is registered under HKEY_LOCAL_MACHINE: the system's list
// of installed programs and the maker's own key.  The installation writes
// both and a later start-up reads them back, so both sides use these.

#include <string>

namespace va {

inline constexpr const wchar_t* kUninstallRoot = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const wchar_t* kMakerKey = L"Software\\Vantaro";

// The name of the program-path value under kMakerKey: ProductKey() + " Path".
std::wstring ProgramPathValueName();
// The product's uninstall key under HKEY_LOCAL_MACHINE.
std::wstring UninstallKeyName();

}  // namespace va
