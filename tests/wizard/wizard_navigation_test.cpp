// The real wizard driven from outside: the pages in their order and the
// texts and states of the host's buttons on each.

#include "tests/common/installed_product.h"
#include "tests/common/installer_copy.h"
#include "tests/driver/machine_snapshot.h"
#include "tests/wizard/wizard_fixture.h"

namespace va::test {
namespace {

struct ButtonRow {
    int page;
    bool backEnabled;
    bool nextEnabled;
    std::wstring next;
    std::wstring exit;
    int defaultButton;
};

void ExpectButtons(HWND host, const ButtonRow& row)
{
    SCOPED_TRACE(testing::Message() << "page " << row.page);
    EXPECT_EQ(VisiblePage(host), row.page);
    EXPECT_EQ(IsControlEnabled(host, IDC_BACK), row.backEnabled);
    EXPECT_EQ(IsControlEnabled(host, IDOK), row.nextEnabled);
    EXPECT_TRUE(IsControlEnabled(host, IDCANCEL));
    EXPECT_EQ(ControlText(host, IDC_BACK), L"<  " + Text(kEnglishBlock, 5));
    EXPECT_EQ(ControlText(host, IDOK), row.next);
    EXPECT_EQ(ControlText(host, IDCANCEL), row.exit);
    EXPECT_EQ(DefaultButton(host), row.defaultButton);
}

class WizardPages : public InstallerWizard {};

TEST_F(WizardPages, AdvancedRouteShowsEveryPageWithItsButtonsAndAFailedInstallationStaysOnTheInstallPage)
{
    // The installer carries a damaged package, so the installation fails
    // at its preparation without touching the machine.
    const std::optional<std::string> package = EmbeddedPackage(InstallerProgram());
    ASSERT_TRUE(package.has_value());
    const ScratchFolder scratch(L"wizard_damaged_installer");
    const std::wstring copy = (scratch.path() / L"InstallTrelvane7.08g.exe").wstring();
    ASSERT_TRUE(CopyInstallerWithPackage(InstallerProgram(), copy, WithStreamDamaged(*package)));
    HWND host = Start(L"", copy);
    ASSERT_NE(host, nullptr);
    const std::wstring next = Text(kEnglishBlock, 6) + L"  >";
    const std::wstring cancel = Text(kEnglishBlock, 2);
    ExpectButtons(host, {0, false, true, next, cancel, IDOK});

    ASSERT_TRUE(Press(IDOK, 1));
    ExpectButtons(host, {1, true, true, next, cancel, IDOK});
    HWND mode = PageOf(host, 1);
    EXPECT_TRUE(IsControlChecked(mode, IDC_QUICK));
    ::SendMessageW(::GetDlgItem(mode, IDC_ADVANCED), BM_CLICK, 0, 0);

    const ButtonRow advanced[] = {
        {2, true, true, next, cancel, IDOK},
        {3, true, true, next, cancel, IDOK},
        {4, true, true, Text(kEnglishBlock, 7), cancel, IDOK},
    };
    for (const ButtonRow& row : advanced) {
        ASSERT_TRUE(Press(IDOK, row.page)) << "page " << row.page;
        ExpectButtons(host, row);
    }

    // Install: the installation fails, so the page stays, ready to go back
    // or to try again.
    SendButtonCommand(host, IDOK);
    ExpectButtons(host, {4, true, true, Text(kEnglishBlock, 7), cancel, IDOK});

    const int back[] = {3, 2, 1, 0};
    for (int page : back)
        ASSERT_TRUE(Press(IDC_BACK, page)) << "back to page " << page;
    ExpectButtons(host, {0, false, true, next, cancel, IDOK});
    ExitWizard();
}

TEST_F(WizardPages, QuickInstallationGoesFromModeToInstallAndBackToMode)
{
    HWND host = Start();
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(Press(IDOK, 1));
    ASSERT_TRUE(Press(IDOK, 4));
    EXPECT_FALSE(::IsWindowVisible(PageOf(host, 2)));
    EXPECT_FALSE(::IsWindowVisible(PageOf(host, 3)));
    ASSERT_TRUE(Press(IDC_BACK, 1));
    EXPECT_TRUE(IsControlChecked(PageOf(host, 1), IDC_QUICK));
    ExitWizard();
}

TEST_F(WizardPages, TheModeChoiceIsKeptWhenTheModePageIsLeftWithBack)
{
    HWND host = Start();
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(Press(IDOK, 1));
    HWND mode = PageOf(host, 1);
    ::SendMessageW(::GetDlgItem(mode, IDC_ADVANCED), BM_CLICK, 0, 0);
    ASSERT_TRUE(IsControlChecked(mode, IDC_ADVANCED));
    ASSERT_TRUE(Press(IDC_BACK, 0));
    ASSERT_TRUE(Press(IDOK, 1));
    EXPECT_TRUE(IsControlChecked(mode, IDC_ADVANCED));
    EXPECT_FALSE(IsControlChecked(mode, IDC_QUICK));
    ASSERT_TRUE(Press(IDOK, 2));
    ExitWizard();
}

TEST_F(WizardPages, NewerInstalledKeepsNextDisabledEvenForACommandSentToItAndExitsWritingNothing)
{
    // The machine as the fixture leaves it for the start: the newer program
    // recorded, English persisted.
    ASSERT_TRUE(SetInstalledProgram(FixtureProgram(L"7_9_0_0")));
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", 1));
    SnapshotScope scope;
    scope.folders = {ProductPlaces().installFolder, ProductPlaces().startMenuFolder, ProductPlaces().commonData,
                     ProductPlaces().userData, ProductPlaces().samples};
    scope.registry = ProductRegistryTrees();
    const MachineSnapshot before = MachineSnapshot::Take(scope);

    HWND host = Start(L"7_9_0_0");
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(IsControlEnabled(host, IDOK));
    // Enter or a stray command must not lead past the Start page.
    SendButtonCommand(host, IDOK);
    SendButtonCommand(host, IDC_BACK);
    EXPECT_EQ(VisiblePage(host), 0);
    EXPECT_FALSE(IsControlEnabled(host, IDOK));

    PressButton(host, IDCANCEL);
    EXPECT_EQ(WaitForBox(), nullptr) << "Exit asked although nothing can be installed";
    EXPECT_EQ(WaitForExit(installer_), 1638u);
    EXPECT_TRUE(Differences(before, MachineSnapshot::Take(scope)).empty())
        << Narrow(Differences(before, MachineSnapshot::Take(scope)));
}

}  // namespace
}  // namespace va::test
