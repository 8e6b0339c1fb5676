#include "file_types.h"

#include "support/handles.h"

namespace standin {
namespace {

LONG SetDefault(HKEY root, const std::wstring& subkey, const std::wstring& data)
{
    va::UniqueKey key;
    LONG error = ::RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    return ::RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

std::wstring LoadText(HINSTANCE instance, UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(instance, id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

// The text of an open key's default REG_SZ value; false when it has none
// (or another type), with `error` set only for a real failure.
bool ReadDefaultOf(HKEY key, std::wstring& text, LONG& error)
{
    DWORD type = 0;
    DWORD size = 0;
    error = ::RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size);
    if (error == ERROR_SUCCESS && type == REG_SZ) {
        text.assign(size / sizeof(wchar_t) + 1, L'\0');
        error = ::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
        text.resize(size / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
    }
    const bool found = error == ERROR_SUCCESS && type == REG_SZ;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_SUCCESS)
        error = ERROR_SUCCESS;
    return found;
}

bool ReadDefault(HKEY root, const std::wstring& subkey, std::wstring& text)
{
    va::UniqueKey key;
    LONG error = ::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put());
    return error == ERROR_SUCCESS && ReadDefaultOf(key.get(), text, error);
}

// The default value of `subkey` when it is a REG_SZ equal to `data`: delete
// it.  A missing key or value, or other data, is left alone.
LONG DeleteDefaultIfOurs(HKEY root, const std::wstring& subkey, const std::wstring& data)
{
    va::UniqueKey key;
    LONG error = ::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put());
    if (error == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (error != ERROR_SUCCESS)
        return error;
    std::wstring stored;
    if (!ReadDefaultOf(key.get(), stored, error) || stored != data)
        return error;
    return ::RegDeleteValueW(key.get(), nullptr);
}

// Deletes `subkey` when it holds neither values nor subkeys.
LONG DeleteKeyIfEmpty(HKEY root, const std::wstring& subkey)
{
    DWORD subkeys = 0;
    DWORD values = 0;
    {
        va::UniqueKey key;
        LONG error = ::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put());
        if (error == ERROR_FILE_NOT_FOUND)
            return ERROR_SUCCESS;
        if (error != ERROR_SUCCESS)
            return error;
        error = ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                   nullptr, nullptr, nullptr, nullptr);
        if (error != ERROR_SUCCESS)
            return error;
    }
    if (subkeys != 0 || values != 0)
        return ERROR_SUCCESS;
    const LONG error = ::RegDeleteKeyW(root, subkey.c_str());
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

}  // namespace

LONG RegisterFileTypes(HINSTANCE instance, const std::wstring& programPath)
{
    const std::wstring quoted = L"\"" + programPath + L"\"";
    for (const FileType& type : kFileTypes) {
        const std::wstring progId = type.progId;
        const LONG error[] = {
            SetDefault(HKEY_CLASSES_ROOT, type.extension, progId),
            SetDefault(HKEY_CLASSES_ROOT, progId, LoadText(instance, type.descriptionId)),
            SetDefault(HKEY_CLASSES_ROOT, progId + L"\\DefaultIcon", quoted + L",0"),
            SetDefault(HKEY_CLASSES_ROOT, progId + L"\\shell\\open\\command", quoted + L" \"%1\""),
        };
        for (LONG e : error)
            if (e != ERROR_SUCCESS)
                return e;
    }
    return ERROR_SUCCESS;
}

LONG UnregisterFileTypes(HINSTANCE instance, const std::wstring& programPath)
{
    const std::wstring quoted = L"\"" + programPath + L"\"";
    LONG first = ERROR_SUCCESS;
    const auto keep = [&first](LONG error) {
        if (first == ERROR_SUCCESS)
            first = error;
    };
    for (const FileType& type : kFileTypes) {
        const std::wstring progId = type.progId;
        const std::wstring command = progId + L"\\shell\\open\\command";
        // A type whose command names another copy of the program is that
        // copy's registration, not ours.
        std::wstring current;
        if (ReadDefault(HKEY_CLASSES_ROOT, command, current) && current != quoted + L" \"%1\"")
            continue;
        keep(DeleteDefaultIfOurs(HKEY_CLASSES_ROOT, command, quoted + L" \"%1\""));
        keep(DeleteDefaultIfOurs(HKEY_CLASSES_ROOT, progId + L"\\DefaultIcon", quoted + L",0"));
        keep(DeleteDefaultIfOurs(HKEY_CLASSES_ROOT, progId, LoadText(instance, type.descriptionId)));
        keep(DeleteDefaultIfOurs(HKEY_CLASSES_ROOT, type.extension, progId));
        // Deepest first, so that a key emptied here lets its parent go.
        for (const std::wstring& key : {command, progId + L"\\shell\\open", progId + L"\\shell",
                                        progId + L"\\DefaultIcon", progId, std::wstring(type.extension)})
            keep(DeleteKeyIfEmpty(HKEY_CLASSES_ROOT, key));
    }
    return first;
}

}  // namespace standin
