#include "wizard/core/typed_folder.h"

#include <utility>

#include "wizard/core/shell_path.h"

namespace va {
namespace {

// Puts the remembered current directory back when it goes.  A failed
// restore has nothing left to report to: the text has been qualified.
class RestoreCurrentFolder {
public:
    RestoreCurrentFolder(FolderQualifier& system, std::wstring remembered)
        : system_(system), remembered_(std::move(remembered))
    {
    }
    ~RestoreCurrentFolder() { system_.SetCurrentFolder(remembered_); }
    RestoreCurrentFolder(const RestoreCurrentFolder&) = delete;
    RestoreCurrentFolder& operator=(const RestoreCurrentFolder&) = delete;

private:
    FolderQualifier& system_;
    std::wstring remembered_;
};

// Qualifies `text` with `rootBase` as the current directory, which is put
// back before this returns.
std::uint32_t QualifyInRoot(const std::wstring& text, const std::wstring& rootBase, FolderQualifier& system,
                            std::optional<std::wstring>& full)
{
    std::wstring remembered;
    if (const std::uint32_t error = system.GetCurrentFolder(remembered))
        return error;
    if (const std::uint32_t error = system.SetCurrentFolder(rootBase))
        return error;
    RestoreCurrentFolder restore(system, std::move(remembered));
    full = system.Qualify(text);
    return 0;
}

}  // namespace

TypedFolder CheckTypedFolder(const std::wstring& text, const std::optional<std::wstring>& rootBase,
                             FolderQualifier& system)
{
    // 259 characters and the terminator.
    if (!FitsShellPathBuffer(text) || text.find(L'\0') != std::wstring::npos)
        return {kTypedFolderTooLong, {}};

    std::wstring typed = text;
    RemoveBlanks(typed);
    RemoveTrailingBackslash(typed);
    if (typed.size() == 2 && typed[1] == L':')
        typed += L'\\';  // a drive alone means its root

    if (typed.empty()) {
        if (const std::uint32_t error = system.GetCurrentFolder(typed))
            return {error, {}};
    }

    std::optional<std::wstring> full;
    if (rootBase) {
        if (const std::uint32_t error = QualifyInRoot(typed, *rootBase, system, full))
            return {error, {}};
    } else {
        full = system.Qualify(typed);
    }
    if (!full)
        return {kTypedFolderBadPath, {}};

    if (rootBase && CommonPrefixLength(*full, *rootBase) != rootBase->size())
        return {kTypedFolderBadPath, {}};

    for (wchar_t c : *full) {
        if (!IsPathCharacter(c))
            return {kTypedFolderBadPath, {}};
    }
    return {0, std::move(*full)};
}

}  // namespace va
