#pragma once
// The order of the wizard's pages and the state of the host's buttons: which
// page a move reaches, what Next, Back and Exit read and allow, and when
// leaving asks for confirmation.

#include <cstdint>

namespace va {

enum WizardPage : int {
    kNoPage = -1,
    kStartPage = 0,
    kModePage = 1,
    kFolderPage = 2,
    kShortcutPage = 3,
    kInstallPage = 4,
    kEndPage = 5,
};
inline constexpr int kPageCount = 6;

// The page shown when page `requested` is asked for while `current` is
// shown.  A quick installation passes over the Folder and Shortcut pages in
// the direction of travel; a request for the current page stays there.
int TargetPage(int requested, int current, bool advancedInstallation) noexcept;

enum class NextText { Next, Install };  // message 6 with "  >", message 7
enum class ExitText { Cancel, Exit };   // message 2, message 4

struct HostButtons {
    bool backEnabled;
    bool nextEnabled;
    NextText next;
    ExitText exit;
    int defaultButton;  // the button that has the focus and answers Enter: 1 Next, 2 Exit

    friend bool operator==(const HostButtons&, const HostButtons&) = default;
};

// The buttons while `currentPage` is shown and no installation runs.
HostButtons ButtonsFor(int currentPage, bool installSucceeded) noexcept;

// Whether Exit asks before it closes the wizard: not after a successful
// installation, not when a newer version is installed (nothing can be done),
// and not for a reinstallation that has not gone past the Start page.
bool ExitAsksFirst(bool installSucceeded, std::int32_t installKind, int currentPage) noexcept;

}  // namespace va
