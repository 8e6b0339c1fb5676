// A failed installation, then a successful one in the same wizard after
// going back: the failure is rolled back whole, the way back rebuilds the
// summary, and the second run installs everything.  The first run fails at
// the program-path value (the maker's key refuses it), a cause the test can
// take away while the wizard stays open.

#include <optional>

#include "tests/common/registry_denial.h"
#include "tests/engine/transaction/installation_fixture.h"

namespace va::test {
namespace {

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class FailureThenSuccess : public Installation {};

TEST_F(FailureThenSuccess, TheFailedRunLeavesNothingAndTheNextRunAfterGoingBackInstallsEverything)
{
    ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kTestMakerKey, L"Probe", L"x"));
    std::optional<ScopedKeyDenial> denial(std::in_place, HKEY_LOCAL_MACHINE, kTestMakerKey, KEY_SET_VALUE);
    if (!denial->applied())
        GTEST_SKIP() << "the maker's key cannot be protected here";
    ASSERT_TRUE(ReachInstallPage());
    // Without the uninstall key the fixture made for the language, the run
    // makes it and its rollback removes it.
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kTestUninstallKey);
    const std::vector<std::wstring> summary = ProgressLines();

    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), FailedStatus(L"-1"));
    for (const std::wstring& folder :
         {places_.installFolder, places_.commonData, places_.userData, places_.samples, places_.startMenuFolder})
        EXPECT_FALSE(FolderExists(folder)) << folder << " is left behind";
    for (const std::wstring& link : places_.desktopLinks)
        EXPECT_FALSE(FileExists(link)) << link;
    EXPECT_FALSE(MachineKeyExists(kTestUninstallKey));
    EXPECT_FALSE(MachineText(kTestMakerKey, kTestPathValue).has_value());
    EXPECT_EQ(RunFolders(), runFoldersBefore_) << "the run's temporary folder is left behind";
    EXPECT_TRUE(IsControlEnabled(host_, IDC_BACK));

    // The cause goes; the user goes back to the Mode page and returns.
    denial.reset();
    ASSERT_TRUE(Press(IDC_BACK, 1));
    ASSERT_TRUE(Press(IDOK, 4));
    EXPECT_EQ(ProgressLines(), summary) << "arriving again rebuilds the summary";
    EXPECT_EQ(ControlText(host_, IDOK), Text(kEnglishBlock, 7));

    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), DoneStatus());
    const std::vector<std::wstring> lines = ProgressLines();
    for (size_t i = 0; i + 1 < summary.size(); ++i)
        EXPECT_EQ(lines[i], summary[i]) << "summary line " << i;
    const std::vector<std::wstring> run = RunLines();
    ASSERT_GE(run.size(), 3u);
    EXPECT_EQ(run[run.size() - 3], StepLine(kEnglishBlock, 118, true));
    EXPECT_EQ(run[run.size() - 2], StepLine(kEnglishBlock, 119, true));
    for (const std::wstring& file : {places_.installFolder + L"\\Trelvane.exe", places_.installFolder + L"\\Uninstall.exe",
                                     places_.installFolder + L"\\Uninstall.ulog", places_.commonData + L"\\Standard.tv-lib",
                                     places_.samples + L"\\Welcome.tv-proj", places_.startMenuFolder + L"\\Trelvane 7.08g.lnk"})
        EXPECT_TRUE(FileExists(file)) << file;
    EXPECT_EQ(MachineText(kTestUninstallKey, L"DisplayName"), L"Trelvane 7.08g");
    EXPECT_EQ(MachineText(kTestMakerKey, kTestPathValue), places_.installFolder + L"\\Trelvane.exe");
    EXPECT_EQ(RunFolders(), runFoldersBefore_);
    ExitWizard();
}

}  // namespace
}  // namespace va::test
