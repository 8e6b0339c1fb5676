#pragma once
// Reading a link back through the shell's own link object.

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "support/com_ptr.h"

namespace va::test {

struct LinkContent {
    bool loaded = false;
    std::wstring target;
    std::wstring workingFolder;
    std::wstring arguments;
    std::wstring description;
    std::wstring iconLocation;
    WORD hotKey = 0xFFFF;
    int showCommand = -1;
};

inline LinkContent ReadLink(const std::wstring& linkPath)
{
    LinkContent content;
    const HRESULT initialized = ::CoInitialize(nullptr);
    {
        ComPtr<IShellLinkW> link;
        ComPtr<IPersistFile> file;
        if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         link.put_void())) &&
            SUCCEEDED(link.As(IID_IPersistFile, file)) && SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
            wchar_t text[MAX_PATH] = {};
            link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
            content.target = text;
            text[0] = 0;
            link->GetWorkingDirectory(text, MAX_PATH);
            content.workingFolder = text;
            text[0] = 0;
            link->GetArguments(text, MAX_PATH);
            content.arguments = text;
            text[0] = 0;
            link->GetDescription(text, MAX_PATH);
            content.description = text;
            text[0] = 0;
            int icon = 0;
            link->GetIconLocation(text, MAX_PATH, &icon);
            content.iconLocation = text;
            link->GetHotkey(&content.hotKey);
            link->GetShowCmd(&content.showCommand);
            content.loaded = true;
        }
    }
    if (SUCCEEDED(initialized))
        ::CoUninitialize();
    return content;
}

inline bool FileExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::wstring TempFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

inline void Touch(const std::wstring& path)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
}

}  // namespace va::test
