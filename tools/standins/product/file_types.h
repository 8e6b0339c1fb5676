#pragma once
// The file types the product registers for itself under HKEY_CLASSES_ROOT.

#include <windows.h>

#include <string>

namespace standin {

struct FileType {
    const wchar_t* extension;
    const wchar_t* progId;
    UINT descriptionId;  // string resource
};

inline constexpr FileType kFileTypes[] = {
    {L".tv-proj", L"Trelvane.Project.7", 3},
    {L".tv-cab", L"Trelvane.Cabinet.7", 4},
    {L".tv-lib", L"Trelvane.Library.7", 5},
};

// Extension -> ProgID, ProgID -> description, DefaultIcon and the open
// command, all for `programPath`.  The Windows error of the first failure,
// ERROR_SUCCESS when everything was written.
LONG RegisterFileTypes(HINSTANCE instance, const std::wstring& programPath);

// Takes back exactly what RegisterFileTypes wrote for `programPath`: each
// default value that still holds our data is deleted, then each key of ours
// left without values and subkeys.  Values and keys others added, and an
// extension another program has taken over, stay.  ERROR_SUCCESS when
// nothing of ours is left (also when nothing was there).
LONG UnregisterFileTypes(HINSTANCE instance, const std::wstring& programPath);

}  // namespace standin
