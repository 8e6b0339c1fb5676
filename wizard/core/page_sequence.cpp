#include "wizard/core/page_sequence.h"

#include "identity/core/install_kind.h"

namespace va {

int TargetPage(int requested, int current, bool advancedInstallation) noexcept
{
    int target = requested;
    if (advancedInstallation || requested == current)
        return target;
    const int step = requested > current ? 1 : -1;
    while (target == kFolderPage || target == kShortcutPage)
        target += step;
    return target;
}

HostButtons ButtonsFor(int currentPage, bool installSucceeded) noexcept
{
    HostButtons buttons{};
    buttons.backEnabled = (currentPage > kStartPage && !installSucceeded) || currentPage > kInstallPage;
    buttons.nextEnabled = currentPage < kEndPage;
    buttons.next = currentPage == kInstallPage && !installSucceeded ? NextText::Install : NextText::Next;
    buttons.exit = installSucceeded ? ExitText::Exit : ExitText::Cancel;
    buttons.defaultButton = buttons.nextEnabled ? 1 : 2;
    return buttons;
}

bool ExitAsksFirst(bool installSucceeded, std::int32_t installKind, int currentPage) noexcept
{
    if (installSucceeded || installKind == NewerInstalled)
        return false;
    return !(installKind == Reinstall && currentPage == kStartPage);
}

}  // namespace va
