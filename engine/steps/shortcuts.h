#pragma once
// Shell shortcuts (".lnk" files) to the product's programs.

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

namespace va {

class InstallProgress;
class MessageTexts;
class UninstallLog;
struct ProductPaths;

// The COM calls CreateShortcut makes, replaceable so that tests can watch
// them; the defaults are the system's.
struct ShortcutComCalls {
    HRESULT (*initialize)();
    HRESULT (*createLink)(IShellLinkW** link);
    void (*uninitialize)();
};
const ShortcutComCalls& SystemShortcutComCalls();

// A link in `folder` to `target` whose working folder is the target's own.
// `name` is the link's name without ".lnk"; without one, the target's file
// name without its extension.  On success the link's path goes to
// `linkPath` when given; on failure it is left alone.  The result is the
// failing call's code: E_INVALIDARG for a target without a folder or no
// link folder, HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) for a path
// that does not fit, else what COM or the link object reported.
HRESULT CreateShortcut(const std::wstring& target, const std::wstring& folder, const std::wstring* name,
                    std::wstring* linkPath,
                    const ShortcutComCalls& com = SystemShortcutComCalls());

struct ShortcutChoices {
    bool startMenu = false;       // program and uninstall links in `startMenuFolder`
    bool desktop = false;         // program link on the desktop
    std::wstring startMenuFolder;
};

// The shell's lookup of a special folder (SHGetSpecialFolderPathW's shape).
using SpecialFolderLookup = BOOL(WINAPI*)(HWND owner, LPWSTR path, int csidl, BOOL create);

// The shortcuts step: each link journalled before it is made and committed
// with its outcome.  The desktop link goes to the common desktop, or to the
// user's when that cannot be found.  Shows nothing when neither link is
// wanted.  True when every wanted link was made.
bool CreateShortcuts(UninstallLog& log, const ShortcutChoices& choices, const ProductPaths& paths,
                     const MessageTexts& texts, InstallProgress& progress, HWND owner,
                     SpecialFolderLookup lookup = ::SHGetSpecialFolderPathW);

}  // namespace va
