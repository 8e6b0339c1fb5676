#pragma once
// Registry and file fixtures of the start-up tests: raw values written
// exactly as given (types, sizes, missing zeros), the product's keys
// removed before and after, and a scratch folder in the temporary folder.

#include <windows.h>

#include <string>
#include <string_view>

#include "support/handles.h"
#include "tests/common/registry_test_util.h"
#include "tests/common/scratch_folder.h"

namespace va::test {

inline constexpr const wchar_t* kTestMakerKey = L"Software\\Vantaro";
inline constexpr const wchar_t* kTestUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7";
inline constexpr const wchar_t* kTestPathValue = L"Trelvane 7 Path";

inline void RemoveProductKeys()
{
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestMakerKey);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTestMakerKey);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestUninstallKey);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTestUninstallKey);
}

// Whether the registry reports a text value stored without terminating zero
// as it is (Windows does; Wine reports room for an added zero).
inline bool RegistryKeepsUnterminatedText()
{
    const wchar_t* key = L"Software\\Vantaro Tests\\Probe";
    if (!WriteRawValue(HKEY_CURRENT_USER, key, L"probe", REG_SZ, L"abc", 6))
        return false;
    UniqueKey k;
    DWORD size = 0;
    const bool kept = ::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, k.put()) == ERROR_SUCCESS &&
                      ::RegQueryValueExW(k.get(), L"probe", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
                      size == 6;
    k.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vantaro Tests\\Probe");
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Vantaro Tests\\Probe");
    return kept;
}

#define UNTERMINATED_TEXT_SKIP_REASON \
    "the registry reports room for a terminating zero the value lacks (Wine), so an unterminated " \
    "value cannot be told from a terminated one here"

inline bool SetInstalledProgram(const std::wstring& path)
{
    return WriteText(HKEY_LOCAL_MACHINE, kTestMakerKey, kTestPathValue, path);
}

}  // namespace va::test

// Key denial lives in its own header, shared with the registry step tests.
#include "tests/common/registry_denial.h"
