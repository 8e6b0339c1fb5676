#pragma once
// The check of a folder typed into the browser's edit box that the shell
// could not resolve: the text is qualified as the user meant it and refused
// with a Windows error code when it cannot name a folder.

#include <windows.h>

#include <optional>
#include <string>

namespace va {

// The process's current directory, behind an interface so that a test can
// make it fail.  Both return 0 or the Windows error.
class CurrentDirectory {
public:
    virtual ~CurrentDirectory() = default;
    virtual DWORD Get(std::wstring& folder) = 0;
    virtual DWORD Set(const std::wstring& folder) = 0;
};

// The real one (GetCurrentDirectoryW / SetCurrentDirectoryW).
CurrentDirectory& ProcessCurrentDirectory();

struct TypedFolder {
    DWORD error = 0;     // 0: accepted
    std::wstring folder;  // the fully qualified folder when accepted
};

// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE): the text is too long.
inline constexpr DWORD kTypedFolderTooLong = 0x800700CE;

// With `rootBase` (relative mode) a relative text is qualified against the
// root base, which becomes the current directory for that one call and is
// then put back, and a folder outside the root base is refused.
TypedFolder CheckTypedFolder(const std::wstring& text, const std::optional<std::wstring>& rootBase,
                             CurrentDirectory& currentDirectory = ProcessCurrentDirectory());

}  // namespace va
