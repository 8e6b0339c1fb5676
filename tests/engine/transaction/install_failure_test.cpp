// Installations that fail, through the real installer: each leaves the
// machine as it was, tells its code in the status line and lets the user go
// back or try again.  The damaged packages travel in copies of the
// installer.

#include <optional>
#include <string>
#include <vector>

#include "support/utf8_text.h"
#include "tests/common/file_bytes.h"
#include "tests/common/installer_copy.h"
#include "tests/common/registry_denial.h"
#include "tests/engine/transaction/installation_fixture.h"

namespace va::test {
namespace {

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class FailedInstallation : public Installation {
protected:
    // A copy of the installer carrying `package`, removed after the test.
    std::wstring InstallerWith(const std::string& package)
    {
        const std::wstring copy = (scratch_.path() / L"InstallTrelvane7.08g.exe").wstring();
        EXPECT_TRUE(CopyInstallerWithPackage(InstallerProgram(), copy, package));
        return copy;
    }

    std::string Package()
    {
        const std::optional<std::string> package = EmbeddedPackage(InstallerProgram());
        EXPECT_TRUE(package.has_value());
        return package.value_or(std::string());
    }

    // Nothing of the product on the machine, and the wizard ready to try
    // again or to go back.
    void ExpectNothingInstalledAndTheWizardReady(bool installFolderExisted = false)
    {
        if (!installFolderExisted) {
            EXPECT_FALSE(FolderExists(places_.installFolder)) << "the installation folder is left behind";
        }
        EXPECT_FALSE(FolderExists(places_.commonData));
        EXPECT_FALSE(FolderExists(places_.userData));
        EXPECT_FALSE(FolderExists(places_.samples));
        EXPECT_FALSE(FolderExists(places_.startMenuFolder));
        for (const std::wstring& link : places_.desktopLinks)
            EXPECT_FALSE(FileExists(link)) << link;
        EXPECT_FALSE(MachineText(kTestUninstallKey, L"DisplayName").has_value());
        EXPECT_FALSE(MachineText(kTestMakerKey, kTestPathValue).has_value());
        EXPECT_EQ(RunFolders(), runFoldersBefore_) << "the run's temporary folder is left behind";
        EXPECT_EQ(ControlText(host_, IDOK), Text(kEnglishBlock, 7));
        EXPECT_TRUE(IsControlEnabled(host_, IDOK));
        EXPECT_TRUE(IsControlEnabled(host_, IDC_BACK));
        EXPECT_TRUE(::IsWindowVisible(Bar())) << "the bar stays where the run left it";
    }

    ScratchFolder scratch_{L"transaction_installer_copy"};
};

TEST_F(FailedInstallation, LastFileFailingItsCheckRemovesEveryPlacedFile)
{
    const std::string package = WithLastFileCorrupted(Package());
    ASSERT_FALSE(package.empty());
    ASSERT_TRUE(ReachInstallPage(InstallerWith(package)));
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), FailedStatus(L"3"));
    const std::vector<std::wstring> lines = RunLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), StepLine(kEnglishBlock, 114, true));
    const std::wstring& last = lines[lines.size() - 2];
    const std::wstring failed = L"dxextra_x86.cab..." + Text(kEnglishBlock, 12);
    EXPECT_EQ(last.substr(last.size() - std::min(last.size(), failed.size())), failed) << last;
    EXPECT_EQ(lines.back(), L"");
    ExpectNothingInstalledAndTheWizardReady();
    // A second try appends its run below the first.
    const size_t before = ProgressLines().size();
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), FailedStatus(L"3"));
    // The first run's closing break starts the second run's dash line.
    EXPECT_EQ(ProgressLines().size(), before + lines.size());
    const std::vector<std::wstring> again = RunLines();
    ASSERT_EQ(again.size(), lines.size());
    EXPECT_EQ(again.front(), lines.front());
    EXPECT_EQ(again.back(), L"");
    ExitWizard();
}

TEST_F(FailedInstallation, LastFileFailingItsCheckBringsBackWhatItReplaced)
{
    InstallQuickly();
    ExitWizard();
    const std::wstring language = places_.installFolder + L"\\Lang\\TrelvaneENU.dll";
    const std::wstring program = places_.installFolder + L"\\Trelvane.exe";
    const std::string languageBefore = FileBytes(language);
    const std::string programBefore = FileBytes(program);

    ASSERT_TRUE(ReachInstallPage(InstallerWith(WithLastFileCorrupted(Package()))));
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), FailedStatus(L"3"));
    EXPECT_EQ(FileBytes(language), languageBefore);
    EXPECT_EQ(FileBytes(program), programBefore);
    EXPECT_TRUE(IsReadOnly(program)) << "the previous program comes back as it was";
    EXPECT_EQ(MachineText(kTestUninstallKey, L"DisplayName"), L"Trelvane 7.08g");
    EXPECT_EQ(RunFolders(), runFoldersBefore_);
    ExitWizard();
}

// A package the reader refuses: the status names the code, the run's lines
// stop where the reader did, and nothing is installed.
struct RefusedPackage {
    const char* name;
    std::string (*package)(const std::string& shipped);  // what the copy carries
    const wchar_t* code;
    bool prepared;  // the preparation step passed, and the run ends with "Failed"
};

const RefusedPackage kRefusedPackages[] = {
    {"DamagedStream", [](const std::string& shipped) { return WithStreamDamaged(shipped); }, L"6", false},
    {"PackageOfNoBytes", [](const std::string&) { return PackageOfNothing(); }, L"7", true},
    {"EmptyPackageResource", [](const std::string&) { return std::string(); }, L"7", true},
};

class RefusedPackageInstallation : public FailedInstallation, public testing::WithParamInterface<RefusedPackage> {};

TEST_P(RefusedPackageInstallation, FailsWithItsCodeAndInstallsNothing)
{
    const RefusedPackage& c = GetParam();
    const std::string package = c.package(Package());
    const std::wstring copy = (scratch_.path() / L"InstallTrelvane7.08g.exe").wstring();
    const bool copied = CopyInstallerWithPackage(InstallerProgram(), copy, package);
    if (package.empty()) {
        const std::optional<std::string> left = copied ? EmbeddedPackage(copy) : std::nullopt;
        if (!left || !left->empty())
            GTEST_SKIP() << "UpdateResource makes no empty resource here (Wine refuses one of no byte)";
    }
    ASSERT_TRUE(copied);
    ASSERT_TRUE(ReachInstallPage(copy));
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), FailedStatus(c.code));
    std::vector<std::wstring> lines{StepLine(kEnglishBlock, 114, c.prepared)};
    if (c.prepared)
        lines.push_back(Text(kEnglishBlock, 12));
    lines.push_back(L"");
    EXPECT_EQ(RunLines(), lines);
    ExpectNothingInstalledAndTheWizardReady();
    ExitWizard();
}

INSTANTIATE_TEST_SUITE_P(FailedInstallation, RefusedPackageInstallation, testing::ValuesIn(kRefusedPackages),
                         [](const testing::TestParamInfo<RefusedPackage>& info) { return std::string(info.param.name); });

TEST_F(FailedInstallation, ProgramPathValueRefusedRollsEverythingBackWithMinusOne)
{
    ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kTestMakerKey, L"Probe", L"x"));
    ScopedKeyDenial denial(HKEY_LOCAL_MACHINE, kTestMakerKey, KEY_SET_VALUE);
    if (!denial.applied())
        GTEST_SKIP() << "the maker's key cannot be protected here";
    ASSERT_TRUE(ReachInstallPage());
    // The key the fixture made for the persisted language goes, so that the
    // run makes the uninstall key and its rollback deletes it (putting a
    // saved key back is covered by the journal's own tests).
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kTestUninstallKey);
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), FailedStatus(L"-1"));
    const std::vector<std::wstring> lines = RunLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], StepLine(kEnglishBlock, 118, false));
    EXPECT_EQ(std::find(lines.begin(), lines.end(), StepLine(kEnglishBlock, 119, true)), lines.end());
    ExpectNothingInstalledAndTheWizardReady();
    ExitWizard();
}

TEST_F(FailedInstallation, FailingFileTypeRegistrationLeavesTheRunSuccessful)
{
    // The stand-in cannot write its file type: it ends with another code
    // than the one of a successful registration.
    const std::wstring type = L"Software\\Classes\\.tv-proj";
    ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, type, L"", L"before"));
    ScopedKeyDenial denial(HKEY_LOCAL_MACHINE, type, KEY_SET_VALUE | KEY_CREATE_SUB_KEY);
    if (!denial.applied())
        GTEST_SKIP() << "the file type's key cannot be protected here";
    ASSERT_TRUE(ReachInstallPage());
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), DoneStatus());
    const std::vector<std::wstring> lines = RunLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), StepLine(kEnglishBlock, 118, false)), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), StepLine(kEnglishBlock, 119, true)), lines.end());
    EXPECT_EQ(MachineText(kTestMakerKey, kTestPathValue), places_.installFolder + L"\\Trelvane.exe");
    ExitWizard();
}

TEST_F(FailedInstallation, UninstallLogThatCannotBeWrittenRollsEverythingBack)
{
    // A folder where the log goes: the new log cannot take its place.
    const std::wstring blocker = places_.installFolder + L"\\Uninstall.ulog";
    ASSERT_EQ(::SHCreateDirectoryExW(nullptr, blocker.c_str(), nullptr), ERROR_SUCCESS);
    ASSERT_TRUE(ReachInstallPage());
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kTestUninstallKey);  // as above: made by this run, deleted by its rollback
    ASSERT_TRUE(Install());

    const std::wstring status = Status();
    const std::wstring failed = FailedStatus(L"1:");
    const std::size_t code = failed.find(L"1:") + 2;
    EXPECT_EQ(status.substr(0, code), failed.substr(0, code)) << "a Windows error: " << Utf8(status);
    const std::vector<std::wstring> lines = RunLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], StepLine(kEnglishBlock, 119, false));
    EXPECT_NE(std::find(lines.begin(), lines.end(), StepLine(kEnglishBlock, 118, true)), lines.end());

    ExpectNothingInstalledAndTheWizardReady(true);
    EXPECT_FALSE(FileExists(places_.installFolder + L"\\Trelvane.exe"));
    EXPECT_FALSE(FileExists(places_.installFolder + L"\\Uninstall.exe"));
    EXPECT_TRUE(FolderExists(blocker));
    // The file types the run registered go again (nothing had them before).
    UniqueKey type;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CLASSES_ROOT, L".tv-proj", 0, KEY_READ, type.put()), ERROR_SUCCESS);
    ExitWizard();
}

}  // namespace
}  // namespace va::test
