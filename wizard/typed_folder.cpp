#include "wizard/typed_folder.h"

#include <shlwapi.h>

#include <utility>

#include "wizard/folder_paths.h"
#include "wizard/path_buffer.h"

namespace va {
namespace {

// A failed call that left no error code still refuses the text.
DWORD LastErrorOr(DWORD fallback)
{
    const DWORD error = ::GetLastError();
    return error ? error : fallback;
}

class ProcessDirectory final : public CurrentDirectory {
public:
    DWORD Get(std::wstring& folder) override
    {
        wchar_t buffer[MAX_PATH] = {};
        const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, buffer);
        if (length == 0)
            return LastErrorOr(static_cast<DWORD>(E_FAIL));
        if (length >= MAX_PATH)
            return kTypedFolderTooLong;
        folder.assign(buffer, length);
        return 0;
    }

    DWORD Set(const std::wstring& folder) override
    {
        if (!::SetCurrentDirectoryW(folder.c_str()))
            return LastErrorOr(static_cast<DWORD>(E_FAIL));
        return 0;
    }
};

// PathSearchAndQualifyW of `text`; nothing when it fails.
std::optional<std::wstring> Qualify(const wchar_t* text)
{
    wchar_t full[MAX_PATH] = {};
    if (!::PathSearchAndQualifyW(text, full, MAX_PATH))
        return std::nullopt;
    return std::wstring(full);
}

// Puts the remembered current directory back when it goes.  A failed
// restore has nothing left to report to: the text has been qualified.
class RestoreDirectory {
public:
    RestoreDirectory(CurrentDirectory& directory, std::wstring remembered)
        : directory_(directory), remembered_(std::move(remembered))
    {
    }
    ~RestoreDirectory() { directory_.Set(remembered_); }
    RestoreDirectory(const RestoreDirectory&) = delete;
    RestoreDirectory& operator=(const RestoreDirectory&) = delete;

private:
    CurrentDirectory& directory_;
    std::wstring remembered_;
};

// Qualifies `text` with `rootBase` as the current directory, which is put
// back before this returns.
DWORD QualifyInRoot(const wchar_t* text, const std::wstring& rootBase, CurrentDirectory& currentDirectory,
                    std::optional<std::wstring>& full)
{
    std::wstring remembered;
    if (const DWORD error = currentDirectory.Get(remembered))
        return error;
    if (const DWORD error = currentDirectory.Set(rootBase))
        return error;
    RestoreDirectory restore(currentDirectory, std::move(remembered));
    full = Qualify(text);
    return 0;
}

}  // namespace

CurrentDirectory& ProcessCurrentDirectory()
{
    static ProcessDirectory directory;
    return directory;
}

TypedFolder CheckTypedFolder(const std::wstring& text, const std::optional<std::wstring>& rootBase,
                             CurrentDirectory& currentDirectory)
{
    PathBuffer typed;
    if (!typed.Assign(text))
        return {kTypedFolderTooLong, {}};

    ::PathRemoveBlanksW(typed.get());
    ::PathRemoveBackslashW(typed.get());
    if (::lstrlenW(typed.get()) == 2 && typed.get()[1] == L':')
        ::lstrcatW(typed.get(), L"\\");

    if (!*typed.get()) {
        std::wstring folder;
        if (const DWORD error = currentDirectory.Get(folder))
            return {error, {}};
        if (!typed.Assign(folder))
            return {kTypedFolderTooLong, {}};
    }

    std::optional<std::wstring> full;
    if (rootBase) {
        if (const DWORD error = QualifyInRoot(typed.get(), *rootBase, currentDirectory, full))
            return {error, {}};
    } else {
        full = Qualify(typed.get());
    }
    if (!full)
        return {ERROR_BAD_PATHNAME, {}};

    if (rootBase) {
        PathBuffer base;
        if (!base.Assign(*rootBase) ||
            ::PathCommonPrefixW(full->c_str(), base.get(), nullptr) != ::lstrlenW(base.get()))
            return {ERROR_BAD_PATHNAME, {}};
    }

    for (wchar_t c : *full) {
        if (!IsPathCharacter(c))
            return {ERROR_BAD_PATHNAME, {}};
    }
    return {0, *full};
}

}  // namespace va
