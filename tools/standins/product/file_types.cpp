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

}  // namespace standin
