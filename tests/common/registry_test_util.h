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

// Writes `bytes` bytes of `data` as a value of `type`, exactly as given
// (sizes, missing zeros); the key is made.  A null name is the default value.
inline bool WriteRawValue(HKEY root, const std::wstring& subkey, const wchar_t* name, DWORD type, const void* data,
                          DWORD bytes)
{
    UniqueKey key;
    if (::RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    return ::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
}

// A text value with its terminating zero.
inline bool WriteText(HKEY root, const std::wstring& subkey, const wchar_t* name, const std::wstring& text,
                      DWORD type = REG_SZ)
{
    return WriteRawValue(root, subkey, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline bool WriteDword(HKEY root, const std::wstring& subkey, const wchar_t* name, DWORD value)
{
    return WriteRawValue(root, subkey, name, REG_DWORD, &value, sizeof value);
}

inline void DeleteTree(HKEY root, const std::wstring& subkey)
{
    ::SHDeleteKeyW(root, subkey.c_str());
}

}  // namespace va::test
