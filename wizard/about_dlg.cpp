#include "wizard/about_dlg.h"

#include "identity/version_info.h"
#include "languages/core/message_numbers.h"
#include "languages/languages.h"
#include "languages/version_text.h"
#include "resources/installer_ids.h"
#include "support/format_message.h"
#include "wizard/wizard_text.h"

namespace va {
namespace {

std::wstring WindowTextOf(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

}  // namespace

CAboutDlg::CAboutDlg(HWND parent) : CDialog(IDD_ABOUT, parent) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    std::wstring caption = WizardText(kMessageAbout);
    if (caption.empty())
        caption = WindowTextOf(GetSafeHwnd());
    ::SetWindowTextW(GetSafeHwnd(), FormatInserts(caption, {InstallerTitle(false)}).c_str());

    const VersionInfo& own = VersionInfo::OfRunningProgram();
    if (const std::wstring product = VersionDisplayText(own); !product.empty())
        ::SetDlgItemTextW(GetSafeHwnd(), IDC_ABOUT_PRODUCT, product.c_str());
    if (const std::wstring legal = own.StringValue(L"LegalCopyright"); !legal.empty())
        ::SetDlgItemTextW(GetSafeHwnd(), IDC_ABOUT_LEGAL, legal.c_str());

    ::SetDlgItemTextW(GetSafeHwnd(), IDOK, WizardText(kMessageOkButton).c_str());
    return TRUE;
}

}  // namespace va
