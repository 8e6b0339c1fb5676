#pragma once
// The replaceable pieces behind every message box and task dialog.  Each hook
// is a function object held for the process; setting one destroys the one it
// replaces, and an empty function removes it.  All of them are used from the
// interface thread only.
//
// The defaults work without an application object: the dialog framework
// plugs in its application name, its modal notification and its safe owner
// through the setters below once it exists.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace va {

// The window that owns a box, and the top-level window the hook disabled for
// it (re-enabled afterwards), if any.
struct OwnerWindows {
    HWND owner = nullptr;
    HWND top = nullptr;
};

using CaptionHook = std::function<std::wstring()>;
using IconHook = std::function<HICON()>;
using ResourceModuleHook = std::function<HINSTANCE()>;
using ModalHook = std::function<void(bool enableModeless)>;
using QuietHook = std::function<bool()>;
using OwnerHook = std::function<OwnerWindows()>;

// Default: the application name (see SetApplicationNameSource); without one,
// the display text of the program's own version (SetOwnVersionTextSource);
// without that, the stem of the program's file name.
void SetCaptionHook(CaptionHook hook);
// Default: none (task dialogs keep their own small icon).
void SetIconHook(IconHook hook);
// Default: none.  Called with false before a box and true after it.
void SetModalHook(ModalHook hook);
// Default: never quiet.  A quiet box goes to the debugger output instead.
void SetQuietHook(QuietHook hook);
// Default: none, so the box is owned by the thread's active window or its
// first captioned window (see MessageContext).
void SetOwnerHook(OwnerHook hook);

// Puts every hook and fact source back to the defaults.
void InstallDefaultMessageHooks();

// What the defaults ask of the layers above, which this library cannot see.
// The application's name, empty while there is no application object.
void SetApplicationNameSource(std::function<std::wstring()> source);
// The display text of the program's own version resource.
void SetOwnVersionTextSource(std::function<std::wstring()> source);
// Whether the language of the user's default is written right to left.
void SetUserDefaultRightToLeftSource(std::function<bool()> source);
// Whether the current interface language is written right to left.
void SetCurrentRightToLeftSource(std::function<bool()> source);

// The hooks' answers (defaults where a hook is missing).
std::wstring CaptionFromHook();
HICON IconFromHook();
HINSTANCE ResourceModuleFromHook();
void NotifyModal(bool enableModeless);
bool QuietFromHook();
std::optional<OwnerWindows> OwnerFromHook();
bool UserDefaultRightToLeft();
bool CurrentRightToLeft();

// The stem of the program's file name (its path, less folder and last
// extension).
std::wstring ProgramFileStem();

}  // namespace va
