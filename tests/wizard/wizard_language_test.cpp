// The real wizard's language list: its entries and width, and what choosing
// a language does to the whole wizard.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "support/gui_handles.h"
#include "tests/wizard/wizard_fixture.h"

namespace va::test {
namespace {

// The offered languages in their order, with their locale identifiers.
struct Offered {
    LPARAM index;
    LCID lcid;
};
constexpr Offered kOffered[] = {{0, 1036}, {1, 1033},  {2, 1031},  {3, 3082},  {11, 1040},
                                {4, 2070}, {5, 1043},  {15, 1045}, {14, 1032}, {7, 1055},
                                {9, 1048}, {10, 2052}, {16, 1037}, {17, 1066}, {19, 1038}};
constexpr int kDutchPosition = 6;
constexpr int kGermanPosition = 2;

std::wstring NativeName(LCID lcid)
{
    wchar_t name[128] = {};
    if (::GetLocaleInfoW(lcid, LOCALE_SNATIVELANGNAME, name, 128) <= 0)
        return {};
    ::CharUpperBuffW(name, 1);
    return name;
}

// The width of `text` in the pages' font ("MS Shell Dlg", 8 points), made
// as the dialog manager makes it.
int TextWidth(const std::wstring& text)
{
    WindowDC screen(nullptr);
    const int pixels = ::MulDiv(8, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    HFONT font = ::CreateFontW(-pixels, 0, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY,
                               FF_DONTCARE, L"MS Shell Dlg");
    SIZE size{};
    {
        const SelectedObject selected(screen.get(), font);
        ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    }
    ::DeleteObject(font);
    return size.cx;
}

bool WaitForCaption(HWND window, const std::wstring& caption)
{
    for (int i = 0; i < 600; ++i) {
        if (WindowText(window) == caption)
            return true;
        ::Sleep(100);
    }
    return false;
}

void ExpectHostButtons(HWND host, unsigned block)
{
    EXPECT_EQ(ControlText(host, IDOK), Text(block, 6) + L"  >");
    EXPECT_EQ(ControlText(host, IDC_BACK), L"<  " + Text(block, 5));
    EXPECT_EQ(ControlText(host, IDCANCEL), Text(block, 2));
}

// The texts every page shows before it is entered.
void ExpectPageTexts(HWND host, unsigned block)
{
    const auto t = [block](unsigned message) { return Text(block, message); };
    const std::wstring product = L"Trelvane 7.08g";
    HWND start = PageOf(host, 0);
    EXPECT_EQ(ControlText(start, IDC_INFO), Fill(t(100), {product}));
    EXPECT_EQ(ControlText(start, IDC_STATUS), Fill(t(106), {t(6)}));
    EXPECT_EQ(ControlText(start, IDC_COPYRIGHT), Fill(t(109), {product}));
    EXPECT_EQ(ControlText(start, IDC_LANGUAGE_LABEL), t(14));
    HWND mode = PageOf(host, 1);
    EXPECT_EQ(ControlText(mode, IDC_MODE_FRAME), t(15));
    EXPECT_EQ(ControlText(mode, IDC_QUICK), t(16));
    EXPECT_EQ(ControlText(mode, IDC_ADVANCED), t(17));
    EXPECT_EQ(ControlText(mode, IDC_STATUS), Fill(t(106), {t(6)}));
    HWND folder = PageOf(host, 2);
    EXPECT_EQ(ControlText(folder, IDC_FOLDER_FRAME), t(10));
    EXPECT_EQ(ControlText(folder, IDC_FOLDER_PROMPT), Fill(t(111), {L"Trelvane"}));
    EXPECT_EQ(ControlText(folder, IDC_BROWSE), t(8));
    EXPECT_EQ(ControlText(folder, IDC_STATUS), Fill(t(106), {t(6)}));
    HWND shortcut = PageOf(host, 3);
    EXPECT_EQ(ControlText(shortcut, IDC_MENU_FRAME), t(9));
    EXPECT_EQ(ControlText(shortcut, IDC_MENU_SHORTCUT), t(112));
    EXPECT_EQ(ControlText(shortcut, IDC_BROWSE), t(8));
    EXPECT_EQ(ControlText(shortcut, IDC_DESKTOP_SHORTCUT), t(113));
    EXPECT_EQ(ControlText(shortcut, IDC_STATUS), Fill(t(106), {t(6)}));
    EXPECT_EQ(ControlText(PageOf(host, 4), IDC_STATUS), Fill(t(108), {t(7)}));
    EXPECT_EQ(ControlText(PageOf(host, 5), IDC_INFO), L"");
    EXPECT_EQ(ControlText(PageOf(host, 5), IDC_STATUS), Fill(t(107), {t(4)}));
}

class WizardLanguages : public InstallerWizard {};

TEST_F(WizardLanguages, ListOffersTheProductLanguagesByNativeNameWithEnglishSelectedAndOpensWideEnough)
{
    HWND host = Start();
    ASSERT_NE(host, nullptr);
    HWND list = ::GetDlgItem(PageOf(host, 0), IDC_LANGUAGE_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ClassName(list), L"ComboBoxEx32");
    const std::optional<std::vector<ComboExItem>> items = ComboExItems(list);
    ASSERT_TRUE(items.has_value()) << "the list's items could not be read";
    ASSERT_EQ(items->size(), std::size(kOffered));
    int widest = 0;
    for (size_t i = 0; i < items->size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ((*items)[i].data, kOffered[i].index);
        EXPECT_EQ((*items)[i].text, NativeName(kOffered[i].lcid));
        widest = std::max(widest, TextWidth((*items)[i].text));
    }
    EXPECT_EQ(::SendMessageW(list, CB_GETCURSEL, 0, 0), 1) << "English is not selected";

    HWND combo = reinterpret_cast<HWND>(::SendMessageW(list, CBEM_GETCOMBOCONTROL, 0, 0));
    ASSERT_NE(combo, nullptr);
    RECT closed{};
    ::GetWindowRect(combo, &closed);
    // Never narrower than the closed box, whatever it was given.
    const LRESULT dropped = ::SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0);
    EXPECT_GE(dropped, widest + 30);
    EXPECT_GE(dropped, closed.right - closed.left);
    ExitWizard();
}

TEST_F(WizardLanguages, DutchIsExplainedInEnglishAndTheWizardStaysEnglishWhileTheListShowsDutch)
{
    HWND host = Start();
    ASSERT_NE(host, nullptr);
    HWND start = PageOf(host, 0);
    SelectComboItem(start, IDC_LANGUAGE_LIST, kDutchPosition);
    HWND box = WaitForBox();
    ASSERT_NE(box, nullptr) << "no explanation";
    EXPECT_EQ(MessageBoxText(box), Fill(Text(kEnglishBlock, 129), {L"Trelvane"}));
    EXPECT_EQ(WindowText(box), Title(kEnglishBlock));
    EXPECT_EQ(ButtonIds(box), std::vector<int>{IDOK});
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntilGone(box));
    // The relabelling runs before the handler returns; a sent message waits for it.
    ::SendMessageW(host, WM_NULL, 0, 0);

    EXPECT_EQ(WindowText(host), Title(kEnglishBlock));
    ExpectHostButtons(host, kEnglishBlock);
    ExpectPageTexts(host, kEnglishBlock);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(start, IDC_LANGUAGE_LIST), CB_GETCURSEL, 0, 0), kDutchPosition);
    ExitWizard();
}

TEST_F(WizardLanguages, GermanRelabelsCaptionButtonsSystemMenuAndEveryPageAtOnce)
{
    HWND host = Start();
    ASSERT_NE(host, nullptr);
    ASSERT_NE(Text(kGermanBlock, 6), Text(kEnglishBlock, 6));
    SelectComboItem(PageOf(host, 0), IDC_LANGUAGE_LIST, kGermanPosition);
    ASSERT_TRUE(WaitForCaption(host, Title(kGermanBlock)));
    ::SendMessageW(host, WM_NULL, 0, 0);

    ExpectHostButtons(host, kGermanBlock);
    ExpectPageTexts(host, kGermanBlock);
    if (const auto menu = SystemMenuItems(host)) {
        ASSERT_FALSE(menu->empty());
        EXPECT_EQ(menu->back().command, 0x10u);
        EXPECT_EQ(menu->back().text, L"&" + Fill(Text(kGermanBlock, 3), {Text(kGermanBlock, 0)}) + L"...");
    }

    // Leaving asks in German, under the German title.
    PressButton(host, IDCANCEL);
    HWND box = WaitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), Text(kGermanBlock, 110));
    EXPECT_EQ(WindowText(box), Title(kGermanBlock));
    PressButton(box, IDYES);
    EXPECT_EQ(WaitForExit(installer_), ExitCodeWhenLeft());
}

}  // namespace
}  // namespace va::test
