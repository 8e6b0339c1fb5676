#include "wizard/dlg_start.h"

#include <algorithm>

#include "identity/core/install_kind.h"
#include "languages/languages.h"
#include "identity/core/product.h"
#include "framework/data_exchange.h"
#include "framework/win_app.h"
#include "resources/installer_ids.h"
#include "wizard/core/language_list.h"
#include "engine/session/install_session.h"
#include "languages/core/message_numbers.h"
#include "wizard/wizard_text.h"

namespace va {
namespace {

constexpr int kFlagWidth = 18;
constexpr int kFlagHeight = 12;
constexpr int kDropDownMargin = 30;
constexpr int kItemTextLength = 256;

HINSTANCE ProgramInstance()
{
    CWinApp* app = CurrentApp();
    return app ? app->Instance() : ::GetModuleHandleW(nullptr);
}

}  // namespace

CDlgStart::CDlgStart() : CWizardPage(IDD_START_PAGE)
{
    OnCommandFrom(IDC_LANGUAGE_LIST, CBN_SELCHANGE, [this] { OnLanguageChange(); });
}

BOOL CDlgStart::OnInitDialog()
{
    CWizardPage::OnInitDialog();
    flags_.reset(::ImageList_Create(kFlagWidth, kFlagHeight, ILC_COLOR24, 8, 1));
    ::SendMessageW(languages_, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(flags_.get()));
    FillLanguageList();
    return TRUE;
}

void CDlgStart::FillLanguageList()
{
    int selection = -1;
    int position = 0;
    for (LanguageIndex language : kOfferedLanguages) {
        // The list keeps its own copy of the image: the icon goes at once.
        UniqueIcon flag(static_cast<HICON>(::LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(FlagIconOf(language)),
                                                        IMAGE_ICON, 16, 12, LR_DEFAULTCOLOR)));
        const int image = flag ? ::ImageList_ReplaceIcon(flags_.get(), -1, flag.get()) : -1;

        std::wstring name = LanguageNativeName(language);
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
        item.iItem = position++;
        item.pszText = name.data();
        item.iImage = image;
        item.iSelectedImage = image;
        item.lParam = language;
        const LRESULT inserted = ::SendMessageW(languages_, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (language == CurrentLanguage().Index)
            selection = static_cast<int>(inserted);
    }
    SetDropDownWidth();
    ::SendMessageW(languages_, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

void CDlgStart::SetDropDownWidth()
{
    // The closed box is narrower than some names: the open list is as wide
    // as the longest one, measured in the page's font.
    HWND combo = reinterpret_cast<HWND>(::SendMessageW(languages_, CBEM_GETCOMBOCONTROL, 0, 0));
    if (!combo)
        return;
    WindowDC dc(combo);
    if (!dc)
        return;
    const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(GetSafeHwnd(), WM_GETFONT, 0, 0)));
    const int count = static_cast<int>(::SendMessageW(languages_, CB_GETCOUNT, 0, 0));
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[kItemTextLength] = {};
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = kItemTextLength;
        if (!::SendMessageW(languages_, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
            continue;
        SIZE size{};
        if (::GetTextExtentPoint32W(dc.get(), text, static_cast<int>(wcslen(text)), &size))
            widest = std::max(widest, static_cast<int>(size.cx));
    }
    const int width = count > 0 ? widest + kDropDownMargin : 0;
    ::SendMessageW(languages_, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
}

void CDlgStart::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_LANGUAGE_LIST, languages_);
}

void CDlgStart::UpdateTexts()
{
    std::wstring found;
    const std::int32_t kind = Session().GetInstallKind(&found);
    const std::wstring product = ProductDisplayName(true);
    const std::wstring next = WizardText(kMessageNext);
    const std::wstring cancel = WizardText(kMessageCancel);

    std::wstring info;
    std::wstring status;
    switch (kind) {
    case Fresh:
        info = WizardText(kMessageInstallation, {product});
        status = WizardText(kMessageClickToContinue, {next});
        break;
    case Reinstall:
        info = WizardText(kMessageAlreadyInstalled, {product}) + L"\r\n" + WizardText(kMessageConfirmReinstallation);
        status = WizardText(kMessageContinueOrExit, {next, cancel});
        break;
    case NewerInstalled:
        info = WizardText(kMessageInstallation, {product}) + L"\r\n" + WizardText(kMessageNewerInstalled, {found});
        status = WizardText(kMessageClickToExit, {cancel});
        break;
    case Update:
    default:
        info = WizardText(kMessageUpdateFromTo, {found, product});
        status = WizardText(kMessageClickToContinue, {next});
        break;
    }
    SetItemText(IDC_INFO, info);
    SetItemText(IDC_STATUS, status);
    SetItemText(IDC_COPYRIGHT, WizardText(kMessageCopyright, {product}));
    SetItemText(IDC_LANGUAGE_LABEL, WizardText(kMessageSelectLanguage));
}

void CDlgStart::ExtendLayout(int dx, int dy)
{
    GrowItem(IDC_LANGUAGE_LIST, dx, 0);
    GrowItem(IDC_COPYRIGHT, dx, 0);
    GrowItem(IDC_INFO, dx, dy);
    GrowItem(IDC_STATUS, dx, 0);
    MoveItem(IDC_STATUS, 0, dy);
}

void CDlgStart::OnLanguageChange()
{
    const LRESULT selected = ::SendMessageW(languages_, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return;
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_LPARAM;
    item.iItem = selected;
    if (!::SendMessageW(languages_, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return;
    // The language, the explanation for one without installer texts, the
    // application title and the relabelling of the whole wizard.
    ChangeLanguage(static_cast<LanguageIndex>(item.lParam));
}

}  // namespace va
