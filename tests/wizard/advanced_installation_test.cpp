// An advanced installation through the real wizard as a user makes it: a
// typed folder with a space, a Start-menu folder chosen in the shell's
// browser, no desktop shortcut; every page before the success asks before
// leaving, and nothing asks after it.

#include <shlobj.h>
#include <shlwapi.h>

#include "tests/driver/machine_snapshot.h"
#include "tests/engine/transaction/installation_fixture.h"
#include "tests/wizard/browser_window.h"
#include "tests/wizard/uninstall_log_text.h"

namespace va::test {
namespace {

class AdvancedInstallation : public Installation {
protected:
    void TearDown() override
    {
        Installation::TearDown();
        RemoveProductFolder(folder_);
        // The chosen Start-menu folder may be a folder of the system's own
        // (the Programs folder itself): only the product's links go there.
        for (const wchar_t* link : {L"\\Trelvane 7.08g.lnk", L"\\Uninstall Trelvane.lnk"})
            ::DeleteFileW((menuFolder_ + link).c_str());
        if (!menuFolder_.empty() && menuFolder_.ends_with(L"\\Trelvane 7"))
            RemoveProductFolder(menuFolder_);
    }

    // Exit on the page shown asks; No keeps the wizard where it was.
    void ExpectExitAsksAndNoStays(int page)
    {
        SCOPED_TRACE(testing::Message() << "page " << page);
        ASSERT_EQ(VisiblePage(host_), page);
        PressButton(host_, IDCANCEL);
        HWND box = WaitForBox();
        ASSERT_NE(box, nullptr) << "Exit did not ask";
        EXPECT_EQ(MessageBoxText(box), Text(kEnglishBlock, 110));
        PressButton(box, IDNO);
        ASSERT_TRUE(WaitUntilGone(box));
        ASSERT_TRUE(WaitUntilSettled(host_));
        EXPECT_EQ(VisiblePage(host_), page);
    }

    const std::wstring folder_ = SpecialFolder(CSIDL_PROGRAM_FILES) + L"\\Road Test\\Trelvane Seven";
    std::wstring menuFolder_;
};

TEST_F(AdvancedInstallation, FollowsEveryChoiceAndExitAsksOnEveryPageUntilTheSuccess)
{
    ASSERT_NE(Start(), nullptr);
    ExpectExitAsksAndNoStays(0);
    ASSERT_TRUE(Press(IDOK, 1));
    ExpectExitAsksAndNoStays(1);
    ::SendMessageW(::GetDlgItem(PageOf(host_, 1), IDC_ADVANCED), BM_CLICK, 0, 0);

    // The folder typed (WM_SETTEXT is carried into the other process).
    ASSERT_TRUE(Press(IDOK, 2));
    ExpectExitAsksAndNoStays(2);
    ::SendMessageW(::GetDlgItem(PageOf(host_, 2), IDC_FOLDER), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(folder_.c_str()));

    // The Start-menu folder chosen in the browser: the top of its tree.
    ASSERT_TRUE(Press(IDOK, 3));
    ExpectExitAsksAndNoStays(3);
    HWND shortcut = PageOf(host_, 3);
    ASSERT_TRUE(IsControlChecked(shortcut, IDC_MENU_SHORTCUT));
    ::SendMessageW(::GetDlgItem(shortcut, IDC_DESKTOP_SHORTCUT), BM_CLICK, 0, 0);
    ASSERT_FALSE(IsControlChecked(shortcut, IDC_DESKTOP_SHORTCUT));
    const std::wstring proposed = ControlText(shortcut, IDC_FOLDER);
    PressButton(shortcut, IDC_BROWSE);
    HWND browser = WaitForBrowser(installer_);
    ASSERT_NE(browser, nullptr);
    for (int i = 0; i < 100 && ProposalOf(browser).empty(); ++i)
        ::Sleep(100);
    for (int i = 0; i < 4; ++i)
        PressTreeKey(browser, VK_BACK);
    PressButton(browser, IDOK);
    ASSERT_TRUE(WaitUntilGone(browser));
    ASSERT_TRUE(WaitUntilSettled(host_));
    const std::wstring chosen = ControlText(shortcut, IDC_FOLDER);
    ASSERT_NE(chosen, proposed) << "the browser changed nothing";
    wchar_t root[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, root, CSIDL_COMMON_STARTMENU, FALSE));
    menuFolder_ = std::wstring(root) + L"\\" + chosen;
    RecordProperty("menu", Narrow({menuFolder_}));

    // The summary names the choices.
    ASSERT_TRUE(Press(IDOK, 4));
    ExpectExitAsksAndNoStays(4);
    const std::vector<std::wstring> summary = ProgressLines();
    ASSERT_EQ(summary.size(), 5u) << "product, banner, folder, menu and the last break";
    EXPECT_EQ(summary[2], Fill(Text(kEnglishBlock, 123), {L"\"" + folder_ + L"\""}));
    EXPECT_EQ(summary[3], Fill(Text(kEnglishBlock, 124), {L"\"" + menuFolder_ + L"\""}));

    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), DoneStatus());

    // The machine follows the choices.
    const std::wstring program = folder_ + L"\\Trelvane.exe";
    for (const std::wstring& file : {program, folder_ + L"\\Uninstall.exe", folder_ + L"\\Lang\\TrelvaneENU.dll"})
        EXPECT_TRUE(FileExists(file)) << file;
    EXPECT_FALSE(FileExists(places_.installFolder + L"\\Trelvane.exe")) << "the default folder was used";
    EXPECT_EQ(MachineText(kTestMakerKey, kTestPathValue), program);
    EXPECT_EQ(MachineText(kTestUninstallKey, L"UninstallString"), folder_ + L"\\Uninstall.exe");
    EXPECT_TRUE(FileExists(menuFolder_ + L"\\Trelvane 7.08g.lnk")) << menuFolder_;
    EXPECT_TRUE(FileExists(menuFolder_ + L"\\Uninstall Trelvane.lnk")) << menuFolder_;
    EXPECT_FALSE(FileExists(places_.startMenuFolder + L"\\Trelvane 7.08g.lnk")) << "the default menu was used";
    for (const std::wstring& link : places_.desktopLinks)
        EXPECT_FALSE(FileExists(link)) << link;
    const std::vector<std::wstring> log = Lines(UninstallLogText(folder_ + L"\\Uninstall.ulog"));
    ASSERT_GT(log.size(), 6u);
    EXPECT_EQ(log[2], L"// Install Trelvane 7.08g");
    EXPECT_EQ(log[3], L"// Install Path : " + folder_);
    EXPECT_EQ(log[4], L"// Shortcut Path : " + menuFolder_);

    // After the success Exit leaves at once.
    PressButton(host_, IDCANCEL);
    EXPECT_EQ(WaitForBox(), nullptr) << "Exit asked after a successful installation";
    EXPECT_EQ(WaitForExit(installer_), 0u);
}

}  // namespace
}  // namespace va::test
