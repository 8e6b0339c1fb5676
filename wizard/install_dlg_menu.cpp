// The host's system menu: the About entry, and a window that is neither
// sized nor maximised.

#include "languages/core/message_numbers.h"
#include "languages/languages.h"
#include "wizard/about_dlg.h"
#include "wizard/core/about_entry.h"
#include "wizard/install_dlg.h"
#include "wizard/wizard_text.h"

namespace va {
namespace {

constexpr UINT kAboutCommand = 0x0010;

std::wstring AboutEntryText()
{
    return AboutMenuEntry(WizardText(kMessageAbout, {InstallerTitle(false)}), CurrentLanguage().RightToLeft);
}

}  // namespace

void CInstallDlg::AddAboutEntry()
{
    HMENU menu = ::GetSystemMenu(GetSafeHwnd(), FALSE);
    if (!menu)
        return;
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kAboutCommand, AboutEntryText().c_str());
    ::DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    ::DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
}

void CInstallDlg::UpdateAboutEntry()
{
    HMENU menu = ::GetSystemMenu(GetSafeHwnd(), FALSE);
    if (menu)
        ::ModifyMenuW(menu, kAboutCommand, MF_BYCOMMAND | MF_STRING, kAboutCommand, AboutEntryText().c_str());
}

bool CInstallDlg::OnSysCommand(WPARAM command)
{
    if ((command & 0xFFF0) != kAboutCommand)
        return false;
    CAboutDlg about(GetSafeHwnd());
    about.DoModal();
    return true;
}

void CInstallDlg::OnInitMenuPopup(HMENU menu, bool systemMenu)
{
    if (!systemMenu)
        return;
    const bool minimised = ::IsIconic(GetSafeHwnd()) != FALSE;
    ::EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (minimised ? MF_GRAYED : MF_ENABLED));
    ::EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (minimised ? MF_ENABLED : MF_GRAYED));
}

void CInstallDlg::OnGetMinMaxInfo(MINMAXINFO* info)
{
    // Maximised means as it is: same size, same place.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(GetSafeHwnd(), &placement))
        return;
    const RECT& normal = placement.rcNormalPosition;
    info->ptMaxSize = {normal.right - normal.left, normal.bottom - normal.top};
    info->ptMaxPosition = {normal.left, normal.top};
}

}  // namespace va
