#pragma once
// Registry and file fixtures of the start-up tests: raw values written
// exactly as given (types, sizes, missing zeros), the product's keys
// removed before and after, and a scratch folder in the temporary folder.

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "support/handles.h"

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

// Writes `bytes` bytes of `data` as a value of `type` (the key is made).
inline bool WriteRawValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
                          const void* data, DWORD bytes)
{
    UniqueKey k;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    return ::RegSetValueExW(k.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes) ==
           ERROR_SUCCESS;
}

// A REG_SZ with its terminating zero.
inline bool WriteText(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text,
                      DWORD type = REG_SZ)
{
    return WriteRawValue(root, key, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
}

inline bool WriteDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value)
{
    return WriteRawValue(root, key, name, REG_DWORD, &value, sizeof value);
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

// A fresh folder under the temporary folder, removed with the object.
class ScratchFolder {
public:
    explicit ScratchFolder(std::wstring_view name)
    {
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        path_ = std::filesystem::path(temp) / name;
        std::error_code error;
        std::filesystem::remove_all(path_, error);
        std::filesystem::create_directories(path_, error);
    }
    ~ScratchFolder()
    {
        // Logs are left read-only by their writer.
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, error))
            ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // `relative` made as a folder; its full path with backslashes.
    std::wstring Folder(const std::wstring& relative) const
    {
        std::error_code error;
        std::filesystem::create_directories(path_ / relative, error);
        return (path_ / relative).wstring();
    }
    // `relative` made as a file (and its folder); its full path.
    std::wstring File(const std::wstring& relative, std::string_view content = "x") const
    {
        const std::filesystem::path file = path_ / relative;
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        UniqueFile out(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (out)
            ::WriteFile(out.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        return file.wstring();
    }

private:
    std::filesystem::path path_;
};

}  // namespace va::test

// Key denial lives in its own header, shared with the registry step tests.
#include "tests/common/registry_denial.h"
