#pragma once
// Reading the registry back in tests: type, exact byte size and data.

#include <windows.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "support/handles.h"

namespace va::test {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;

    std::wstring Text() const
    {
        return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    }
    DWORD Dword() const
    {
        DWORD value = 0;
        if (data.size() == sizeof(value))
            std::memcpy(&value, data.data(), sizeof(value));
        return value;
    }
};

inline bool KeyExists(HKEY root, const std::wstring& subkey)
{
    UniqueKey key;
    return ::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// Nothing when the key or the value is missing.
inline std::optional<RegistryValue> ReadValue(HKEY root, const std::wstring& subkey,
                                              const wchar_t* name)
{
    UniqueKey key;
    if (::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (::RegQueryValueExW(key.get(), name, nullptr, &value.type, value.data.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

// A REG_DWORD value; nothing when missing or of another type.
inline std::optional<DWORD> ReadDword(HKEY root, const std::wstring& subkey, const wchar_t* name)
{
    const auto value = ReadValue(root, subkey, name);
    if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD))
        return std::nullopt;
    return value->Dword();
}

// Text of a REG_SZ value without its terminating zero; empty when missing.
inline std::wstring ReadText(HKEY root, const std::wstring& subkey, const wchar_t* name)
{
    const auto value = ReadValue(root, subkey, name);
    if (!value || value->type != REG_SZ)
        return {};
    std::wstring text = value->Text();
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

inline void WriteText(HKEY root, const std::wstring& subkey, const wchar_t* name,
                      const std::wstring& data)
{
    UniqueKey key;
    ::RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
    ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

inline void DeleteTree(HKEY root, const std::wstring& subkey)
{
    ::SHDeleteKeyW(root, subkey.c_str());
}

}  // namespace va::test
