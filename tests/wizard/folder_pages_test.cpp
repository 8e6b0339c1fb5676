// The Folder and Shortcut pages of the real installer, driven from outside:
// what each shows and allows, that their values survive leaving the page
// and a language change, and the folder browser opened from each.

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

#include "support/error_text.h"
#include "tests/wizard/browser_window.h"
#include "tests/wizard/wizard_fixture.h"

namespace va::test {
namespace {

constexpr int kFolderPage = 2;
constexpr int kShortcutPage = 3;
const std::wstring kSuffix = L"Trelvane 7";

constexpr const char* kNoEditBoxAnswer =
    "the platform's folder browser answers with the tree's selection and never hands the edit box's text "
    "to the program (no BFFM_VALIDATEFAILED)";

void SetControlText(HWND dialog, int id, const std::wstring& text)
{
    // The system carries WM_SETTEXT's text into the other process; unlike
    // typing, it passes the edit control's limit.
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool IsReadOnly(HWND dialog, int id)
{
    return (::GetWindowLongW(::GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) != 0;
}

bool EndsWithSuffix(const std::wstring& text)
{
    return text.size() > kSuffix.size() && text.ends_with(L"\\" + kSuffix);
}

class FolderPages : public InstallerWizard {
protected:
    // From the Start page through an advanced Mode page to `page`.
    HWND Advance(int page)
    {
        if (!Press(IDOK, 1))
            return nullptr;
        ::SendMessageW(::GetDlgItem(PageOf(host_, 1), IDC_ADVANCED), BM_CLICK, 0, 0);
        for (int shown = kFolderPage; shown <= page; ++shown) {
            if (!Press(IDOK, shown))
                return nullptr;
        }
        return PageOf(host_, page);
    }

    // The browser the page's Browse button opened, once it shows its first
    // proposal; null when none opened.
    HWND OpenBrowser(HWND page)
    {
        PressButton(page, IDC_BROWSE);
        HWND browser = WaitForBrowser(installer_);
        for (int i = 0; browser && i < 100 && ProposalOf(browser).empty(); ++i)
            ::Sleep(100);
        return browser;
    }
};

TEST_F(FolderPages, AnUpdateShowsThePreviousFolderWithoutLettingItChange)
{
    ASSERT_NE(Start(L"7_8_7_0"), nullptr);
    HWND folder = Advance(kFolderPage);
    ASSERT_NE(folder, nullptr);
    const std::wstring shown = ControlText(folder, IDC_FOLDER);
    EXPECT_FALSE(shown.empty());
    EXPECT_TRUE(IsReadOnly(folder, IDC_FOLDER));
    EXPECT_FALSE(IsControlEnabled(folder, IDC_BROWSE));
    EXPECT_FALSE(IsControlEnabled(folder, IDC_FOLDER_PROMPT));
    ASSERT_TRUE(Press(IDOK, kShortcutPage));
    ASSERT_TRUE(Press(IDC_BACK, kFolderPage));
    EXPECT_EQ(ControlText(folder, IDC_FOLDER), shown);
    ExitWizard();
}

// A drive's or share's root, or a name the system would change under the
// log (a trailing dot or space), keeps the wizard on the page with the
// system's text for a bad path, as the folder browser and /dir refuse them.
TEST_F(FolderPages, ARootOrANameTheSystemWouldChangeKeepsTheWizardOnThePage)
{
    ASSERT_NE(Start(), nullptr);
    HWND folder = Advance(kFolderPage);
    ASSERT_NE(folder, nullptr);
    for (const wchar_t* refused : {L"C:\\", L"D:", L"\\\\server\\share\\", L"C:\\Apps\\Trelvane.",
                                   L"C:\\Apps \\Trelvane", L"relative\\New Folder."}) {
        SCOPED_TRACE(testing::Message() << std::string(refused, refused + ::lstrlenW(refused)));
        SetControlText(folder, IDC_FOLDER, refused);
        PressButton(host_, IDOK);
        HWND box = WaitForBox();
        ASSERT_NE(box, nullptr) << "no message";
        EXPECT_EQ(MessageBoxText(box), ErrorText(ERROR_BAD_PATHNAME));
        PressButton(box, IDOK);
        EXPECT_TRUE(WaitUntilGone(box));
        EXPECT_EQ(VisiblePage(host_), kFolderPage);
    }
    SetControlText(folder, IDC_FOLDER, L"C:\\Apps\\Trelvane 7.08g");
    ASSERT_TRUE(Press(IDOK, kShortcutPage)) << "a dot inside a name passes";
    ExitWizard();
}

TEST_F(FolderPages, ATypedFolderIsTakenAsItIsAndAnOverlongOneKeepsTheWizardOnThePage)
{
    ASSERT_NE(Start(), nullptr);
    HWND folder = Advance(kFolderPage);
    ASSERT_NE(folder, nullptr);
    EXPECT_FALSE(IsReadOnly(folder, IDC_FOLDER));
    EXPECT_TRUE(IsControlEnabled(folder, IDC_BROWSE));
    EXPECT_TRUE(IsControlEnabled(folder, IDC_FOLDER_PROMPT));
    EXPECT_TRUE(EndsWithSuffix(ControlText(folder, IDC_FOLDER))) << ControlText(folder, IDC_FOLDER);

    // A relative folder that does not exist goes to the session and comes
    // back from it unchanged.
    SetControlText(folder, IDC_FOLDER, L"relative\\New Folder");
    ASSERT_TRUE(Press(IDOK, kShortcutPage));
    ASSERT_TRUE(Press(IDC_BACK, kFolderPage));
    EXPECT_EQ(ControlText(folder, IDC_FOLDER), L"relative\\New Folder");

    const std::wstring longest = L"C:\\" + std::wstring(257, L'a');  // 260 characters
    SetControlText(folder, IDC_FOLDER, longest);
    ASSERT_TRUE(Press(IDOK, kShortcutPage)) << "260 characters pass";
    ASSERT_TRUE(Press(IDC_BACK, kFolderPage));
    EXPECT_EQ(ControlText(folder, IDC_FOLDER), longest);

    SetControlText(folder, IDC_FOLDER, longest + L"a");
    PressButton(host_, IDOK);
    HWND box = WaitForBox();
    ASSERT_NE(box, nullptr) << "no message for 261 characters";
    EXPECT_EQ(MessageBoxText(box), Fill(LoadResourceString(nullptr, 61710), {L"260"}));
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntilGone(box));
    EXPECT_EQ(VisiblePage(host_), kFolderPage);
    ExitWizard();
}

TEST_F(FolderPages, TheMenuShortcutChoiceEnablesTheFolderWhichItKeeps)
{
    ASSERT_NE(Start(), nullptr);
    HWND shortcut = Advance(kShortcutPage);
    ASSERT_NE(shortcut, nullptr);
    EXPECT_TRUE(IsReadOnly(shortcut, IDC_FOLDER));
    const std::wstring relative = ControlText(shortcut, IDC_FOLDER);
    wchar_t programs[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE));
    EXPECT_TRUE(relative.starts_with(std::wstring(::PathFindFileNameW(programs)) + L"\\")) << relative;
    EXPECT_TRUE(EndsWithSuffix(relative)) << relative;

    const bool menu = IsControlChecked(shortcut, IDC_MENU_SHORTCUT);
    EXPECT_EQ(IsControlEnabled(shortcut, IDC_FOLDER), menu);
    EXPECT_EQ(IsControlEnabled(shortcut, IDC_BROWSE), menu);
    const bool desktop = IsControlChecked(shortcut, IDC_DESKTOP_SHORTCUT);
    for (bool expected : {!menu, menu}) {
        ::SendMessageW(::GetDlgItem(shortcut, IDC_MENU_SHORTCUT), BM_CLICK, 0, 0);
        EXPECT_EQ(IsControlChecked(shortcut, IDC_MENU_SHORTCUT), expected);
        EXPECT_EQ(IsControlEnabled(shortcut, IDC_FOLDER), expected);
        EXPECT_EQ(IsControlEnabled(shortcut, IDC_BROWSE), expected);
        EXPECT_EQ(IsControlChecked(shortcut, IDC_DESKTOP_SHORTCUT), desktop) << "the desktop choice is its own";
        EXPECT_EQ(ControlText(shortcut, IDC_FOLDER), relative);
    }

    // Unchecked, it leaves the page and comes back unchecked, folder kept.
    ::SendMessageW(::GetDlgItem(shortcut, IDC_MENU_SHORTCUT), BM_CLICK, 0, 0);
    const bool unchecked = IsControlChecked(shortcut, IDC_MENU_SHORTCUT);
    ASSERT_TRUE(Press(IDC_BACK, kFolderPage));
    ASSERT_TRUE(Press(IDOK, kShortcutPage));
    EXPECT_EQ(IsControlChecked(shortcut, IDC_MENU_SHORTCUT), unchecked);
    EXPECT_EQ(IsControlEnabled(shortcut, IDC_FOLDER), unchecked);
    EXPECT_EQ(ControlText(shortcut, IDC_FOLDER), relative);
    ExitWizard();
}

TEST_F(FolderPages, ALanguageChangeRelabelsBothPagesAndKeepsTheirValues)
{
    ASSERT_NE(Start(), nullptr);
    HWND folder = Advance(kFolderPage);
    ASSERT_NE(folder, nullptr);
    SetControlText(folder, IDC_FOLDER, L"D:\\Chosen\\Trelvane 7");
    ASSERT_TRUE(Press(IDOK, kShortcutPage));
    HWND shortcut = PageOf(host_, kShortcutPage);
    ::SendMessageW(::GetDlgItem(shortcut, IDC_DESKTOP_SHORTCUT), BM_CLICK, 0, 0);
    ::SendMessageW(::GetDlgItem(shortcut, IDC_MENU_SHORTCUT), BM_CLICK, 0, 0);
    const bool desktop = IsControlChecked(shortcut, IDC_DESKTOP_SHORTCUT);
    const bool menu = IsControlChecked(shortcut, IDC_MENU_SHORTCUT);
    const std::wstring relative = ControlText(shortcut, IDC_FOLDER);
    for (int page : {kFolderPage, 1, 0})
        ASSERT_TRUE(Press(IDC_BACK, page));

    SelectComboItem(PageOf(host_, 0), IDC_LANGUAGE_LIST, 2);  // German
    for (int i = 0; i < 600 && WindowText(host_) != Title(kGermanBlock); ++i)
        ::Sleep(100);
    ASSERT_EQ(WindowText(host_), Title(kGermanBlock));
    ASSERT_TRUE(Press(IDOK, 1));
    ASSERT_TRUE(Press(IDOK, kFolderPage));
    EXPECT_EQ(ControlText(folder, IDC_FOLDER_FRAME), Text(kGermanBlock, 10));
    EXPECT_EQ(ControlText(folder, IDC_BROWSE), Text(kGermanBlock, 8));
    EXPECT_EQ(ControlText(folder, IDC_FOLDER), L"D:\\Chosen\\Trelvane 7");
    ASSERT_TRUE(Press(IDOK, kShortcutPage));
    EXPECT_EQ(ControlText(shortcut, IDC_MENU_FRAME), Text(kGermanBlock, 9));
    EXPECT_EQ(ControlText(shortcut, IDC_MENU_SHORTCUT), Text(kGermanBlock, 112));
    EXPECT_EQ(ControlText(shortcut, IDC_DESKTOP_SHORTCUT), Text(kGermanBlock, 113));
    EXPECT_EQ(IsControlChecked(shortcut, IDC_DESKTOP_SHORTCUT), desktop);
    EXPECT_EQ(IsControlChecked(shortcut, IDC_MENU_SHORTCUT), menu);
    EXPECT_EQ(ControlText(shortcut, IDC_FOLDER), relative);
    ExitWizard();
}

TEST_F(FolderPages, TheInstallationFolderBrowserProposesTheSuffixAndCancelChangesNothing)
{
    ASSERT_NE(Start(), nullptr);
    HWND folder = Advance(kFolderPage);
    ASSERT_NE(folder, nullptr);
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring typed = std::wstring(windows) + L"\\Missing\\" + kSuffix;
    SetControlText(folder, IDC_FOLDER, typed);

    HWND browser = OpenBrowser(folder);
    ASSERT_NE(browser, nullptr);
    const auto statics = StaticTexts(browser);
    EXPECT_NE(std::find(statics.begin(), statics.end(), ControlText(folder, IDC_FOLDER_PROMPT)), statics.end())
        << "the prompt is the browser's title";
    EXPECT_TRUE(EndsWithSuffix(ProposalOf(browser))) << ProposalOf(browser);
    PressButton(browser, IDCANCEL);
    ASSERT_TRUE(WaitUntilGone(browser));
    EXPECT_EQ(ControlText(folder, IDC_FOLDER), typed);

    // Another folder chosen in the tree: the proposal, suffix and all, is
    // the page's folder.
    browser = OpenBrowser(folder);
    ASSERT_NE(browser, nullptr);
    const std::wstring opened = ProposalOf(browser);
    PressTreeKey(browser, VK_DOWN);
    const std::wstring proposal = ProposalOf(browser);
    EXPECT_NE(proposal, opened);
    EXPECT_TRUE(EndsWithSuffix(proposal)) << proposal;
    PressButton(browser, IDOK);
    ASSERT_TRUE(WaitUntilGone(browser));
    const std::wstring chosen = ControlText(folder, IDC_FOLDER);
    std::wstring tree = chosen;  // the tree's selection: a drive keeps its backslash
    if (tree.ends_with(L"\\"))
        tree.pop_back();
    if (tree == proposal.substr(0, proposal.size() - kSuffix.size() - 1))
        GTEST_SKIP() << kNoEditBoxAnswer;
    EXPECT_EQ(chosen, proposal);
    ExitWizard();
}

TEST_F(FolderPages, TheStartMenuBrowserProposesTheSuffixRelativeToTheStartMenu)
{
    ASSERT_NE(Start(), nullptr);
    HWND shortcut = Advance(kShortcutPage);
    ASSERT_NE(shortcut, nullptr);
    if (!IsControlChecked(shortcut, IDC_MENU_SHORTCUT))
        ::SendMessageW(::GetDlgItem(shortcut, IDC_MENU_SHORTCUT), BM_CLICK, 0, 0);
    const std::wstring before = ControlText(shortcut, IDC_FOLDER);
    wchar_t programs[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE));
    const std::wstring programsName = ::PathFindFileNameW(programs);

    HWND browser = OpenBrowser(shortcut);
    ASSERT_NE(browser, nullptr);
    const auto statics = StaticTexts(browser);
    EXPECT_NE(std::find(statics.begin(), statics.end(), Text(kEnglishBlock, 112)), statics.end());
    EXPECT_TRUE(EndsWithSuffix(ProposalOf(browser))) << ProposalOf(browser);
    PressButton(browser, IDCANCEL);
    ASSERT_TRUE(WaitUntilGone(browser));
    EXPECT_EQ(ControlText(shortcut, IDC_FOLDER), before);

    // The top of the tree is the Programs folder, shown relative to the
    // Start menu.
    browser = OpenBrowser(shortcut);
    ASSERT_NE(browser, nullptr);
    for (int i = 0; i < 4; ++i)
        PressTreeKey(browser, VK_BACK);
    const std::wstring proposal = ProposalOf(browser);
    EXPECT_EQ(proposal, programsName + L"\\" + kSuffix);
    PressButton(browser, IDOK);
    ASSERT_TRUE(WaitUntilGone(browser));
    const std::wstring chosen = ControlText(shortcut, IDC_FOLDER);
    if (chosen == programsName)
        GTEST_SKIP() << kNoEditBoxAnswer;
    EXPECT_EQ(chosen, proposal);
    ExitWizard();
}

}  // namespace
}  // namespace va::test
