#pragma once
// The shell's folder browser with three additions: a suffix (a sub-folder
// name) kept at the end of whatever folder the user points at, an edit box
// showing that proposal which the user may change (even to a folder that
// does not exist yet), and an optional root that confines the tree and
// shows the proposal relative to the root's parent.
//
// One object per Browse click: constructed with the title, run once, read,
// destroyed.  Interface thread only.

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "support/com_initialization.h"
#include "support/task_memory.h"

namespace va {

class FolderBrowser {
public:
    // The shell flags with a suffix (edit box, validation of typed text) and
    // without one.
    static constexpr UINT kFlagsWithSuffix = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_EDITBOX |
                                             BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    static constexpr UINT kFlagsPlain = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE;

    explicit FolderBrowser(std::wstring title);
    ~FolderBrowser();
    FolderBrowser(const FolderBrowser&) = delete;
    FolderBrowser& operator=(const FolderBrowser&) = delete;

    // The top of the tree; a root makes the browser relative.
    void SetRoot(UniqueIdList root);

    // Shows the browser modally.  True when the user chose a folder, which
    // Current() then holds; false when cancelled or the browser failed (a
    // COM failure has been shown in a box).
    bool Run(const std::wstring& initial, const std::wstring& suffix);

    // The first part of Run: the proposal the browser opens with.  A
    // relative `initial` is ignored; without a usable one the root's folder,
    // else the user's Documents folder.  A suffix with a character a path
    // cannot hold makes a plain browser.
    void Setup(const std::wstring& initial, const std::wstring& suffix);

    const std::wstring& Current() const noexcept { return current_; }
    const std::wstring& Suffix() const noexcept { return suffix_; }
    // The choice less its suffix.
    std::wstring WithoutSuffix() const;
    // The choice relative to the root's parent ("" for that folder itself);
    // the choice itself without a root or when the shell cannot relate them.
    std::wstring Relative();
    // The root's folder less its last component; nothing without a root.
    std::optional<std::wstring> RootBase();

private:
    static int CALLBACK Callback(HWND dialog, UINT message, LPARAM lParam, LPARAM data);
    int OnInitialized(HWND dialog);
    int OnSelectionChanged(HWND dialog, PCIDLIST_ABSOLUTE selection);
    int OnValidateFailed(HWND dialog, const wchar_t* text);
    void ShowProposal() const;
    bool InitializeCom(HWND owner);

    enum Flag : unsigned {
        kDialogInitialized = 2,
        kTakenFromEdit = 4,
    };

    std::optional<ComInitialization> com_;  // first: the folder lists below are released before it
    std::wstring current_;
    std::wstring suffix_;
    std::wstring title_;
    UniqueIdList root_;
    std::wstring rootBase_;
    unsigned flags_ = 0;
    HWND edit_ = nullptr;
};

// The installation-folder browser: the chosen folder, or empty when the user
// cancelled.  On success `initial` receives the choice less the suffix.
std::wstring BrowseForFolder(std::wstring& initial, const std::wstring& suffix, const std::wstring& title);

// The Start-menu browser, confined to the common Programs folder and showing
// its proposal relative to the common Start menu.  As BrowseForFolder; on
// success `relative` (when given) receives the choice relative to the Start
// menu.
std::wstring BrowseForFolderRelative(std::wstring& initial, const std::wstring& suffix, const std::wstring& title,
                                     std::wstring* relative);

}  // namespace va
