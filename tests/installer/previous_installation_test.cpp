#include "installer/previous_installation.h"

#include <gtest/gtest.h>

#include "tests/common/log_bytes.h"
#include "tests/common/scratch_registry.h"

namespace va::test {
namespace {

// A log's bytes whose "Install Path" is `folder`.
std::string LogNaming(const std::wstring& folder)
{
    return test::Utf16File(L"// Uninstall Log File v1\r\n"
                           L"// ############ WARNING: Do not delete or modify this file. ############\r\n"
                           L"// Install Trelvane 7.08g\r\n"
                           L"// Install Path : " + folder + L"\r\n"
                           L"// Shortcut Path : \r\n"
                           L"// -------------------\r\n");
}

class PreviousInstallation : public testing::Test {
protected:
    void SetUp() override { RemoveProductKeys(); }
    void TearDown() override { RemoveProductKeys(); }
    ScratchFolder scratch{L"vantaro previous installation test"};
};

TEST_F(PreviousInstallation, ProgramPathIsTheValueOnlyWhenSomethingExistsThere)
{
    const std::wstring program = scratch.File(L"Trelvane 7\\Trelvane.exe");
    const std::wstring deleted = (scratch.path() / L"gone\\Trelvane.exe").wstring();
    const std::wstring odd = program + L'\0';
    struct Case {
        const char* what;
        bool makeKey;
        DWORD type;
        const std::wstring* data;
        DWORD bytes;
        std::wstring expected;
    };
    const DWORD full = DWORD((program.size() + 1) * 2);
    const Case cases[] = {
        {"no maker key", false, REG_SZ, &program, full, L""},
        {"key without value", true, REG_NONE, nullptr, 0, L""},
        {"existing program", true, REG_SZ, &program, full, program},
        {"expandable type", true, REG_EXPAND_SZ, &program, full, program},
        {"program deleted by hand", true, REG_SZ, &deleted, DWORD((deleted.size() + 1) * 2), L""},
        {"odd byte size", true, REG_SZ, &odd, full + 1, L""},
        {"a number", true, REG_DWORD, &program, 4, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveProductKeys();
        if (c.makeKey && c.data) {
            ASSERT_TRUE(WriteRawValue(HKEY_LOCAL_MACHINE, kTestMakerKey, kTestPathValue, c.type, c.data->c_str(),
                                      c.bytes));
        }
        if (c.makeKey && !c.data) {
            ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kTestMakerKey, L"Other Path", program));
        }
        EXPECT_EQ(LookUpInstalledProgramPath(), c.expected);
    }
}

TEST_F(PreviousInstallation, ProgramPathWithoutTerminatingZeroCountsAsMissing)
{
    if (!RegistryKeepsUnterminatedText())
        GTEST_SKIP() << UNTERMINATED_TEXT_SKIP_REASON;
    const std::wstring program = scratch.File(L"Trelvane 7\\Trelvane.exe");
    ASSERT_TRUE(WriteRawValue(HKEY_LOCAL_MACHINE, kTestMakerKey, kTestPathValue, REG_SZ, program.c_str(),
                              DWORD(program.size() * 2)));
    EXPECT_EQ(LookUpInstalledProgramPath(), L"");
}

TEST_F(PreviousInstallation, ProgramPathIsReadOnceForTheProcess)
{
    const std::wstring first = scratch.File(L"first\\Trelvane.exe");
    const std::wstring second = scratch.File(L"second\\Trelvane.exe");
    ASSERT_TRUE(SetInstalledProgram(first));
    EXPECT_EQ(InstalledProgramPath(), first);
    ASSERT_TRUE(SetInstalledProgram(second));
    EXPECT_EQ(InstalledProgramPath(), first);
    RemoveProductKeys();
    EXPECT_EQ(InstalledProgramPath(), first);
}

TEST_F(PreviousInstallation, LogIsTheFirstOfThreeCandidatesThatExists)
{
    const std::wstring uninstallerDir = scratch.Folder(L"uninstaller");
    const std::wstring ownDir = scratch.Folder(L"own");
    const std::wstring installedDir = scratch.Folder(L"installed");
    const std::wstring uninstaller = uninstallerDir + L"\\Uninstall.exe";
    const std::wstring own = ownDir + L"\\InstallTrelvane7.08g.exe";
    const std::wstring installed = installedDir + L"\\Trelvane.exe";

    struct Case {
        const char* what;
        bool uninstallValue;
        std::wstring uninstallString;
        std::vector<const std::wstring*> logsIn;
        std::wstring expected;  // the folder holding the log found
    };
    const Case cases[] = {
        {"all three: the uninstaller's folder", true, uninstaller, {&uninstallerDir, &ownDir, &installedDir},
         uninstallerDir},
        {"trailing separators of the folder removed", true, uninstallerDir + L"\\\\Uninstall.exe",
         {&uninstallerDir}, uninstallerDir},
        {"forward slash as separator", true, uninstallerDir + L"/Uninstall.exe", {&uninstallerDir},
         uninstallerDir},
        {"uninstaller's folder without log: the installer's own", true, uninstaller, {&ownDir, &installedDir},
         ownDir},
        {"no registry entries: the installer's own folder", false, L"", {&ownDir}, ownDir},
        {"only beside the installed program", true, uninstaller, {&installedDir}, installedDir},
        {"a value naming no folder is passed over", true, L"Uninstall.exe", {&installedDir}, installedDir},
        {"none", true, uninstaller, {}, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveProductKeys();
        for (const std::wstring* dir : {&uninstallerDir, &ownDir, &installedDir})
            ::DeleteFileW((*dir + L"\\Uninstall.ulog").c_str());
        for (const std::wstring* dir : c.logsIn)
            scratch.File(std::filesystem::path(*dir).filename().wstring() + L"\\Uninstall.ulog",
                         LogNaming(installedDir));
        if (c.uninstallValue) {
            ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"UninstallString", c.uninstallString));
        }
        const std::wstring expected = c.expected.empty() ? L"" : c.expected + L"\\Uninstall.ulog";
        EXPECT_EQ(PreviousLogPathFor(own, installed), expected);
    }
}

// A log beside the installer (a download folder anyone can write to) is
// taken only when it describes the installed program's folder; otherwise
// it is passed over, named, and the search goes on beside the program.
TEST_F(PreviousInstallation, ALogBesideTheInstallerCountsOnlyForTheInstalledProgramsFolder)
{
    const std::wstring ownDir = scratch.Folder(L"downloads");
    const std::wstring installedDir = scratch.Folder(L"installed");
    const std::wstring elsewhere = scratch.Folder(L"elsewhere");
    const std::wstring own = ownDir + L"\\InstallTrelvane7.08g.exe";
    const std::wstring installed = installedDir + L"\\Trelvane.exe";
    const std::wstring ownLog = ownDir + L"\\Uninstall.ulog";
    const std::wstring installedLog = installedDir + L"\\Uninstall.ulog";

    struct Case {
        const char* what;
        std::string ownLogBytes;
        bool logBesideProgram;
        std::wstring installedProgram;
        std::wstring expected;
        std::wstring expectedIgnored;
    };
    const Case cases[] = {
        {"names the installed folder", LogNaming(installedDir), true, installed, ownLog, L""},
        {"the same folder spelt with another case and a slash",
         LogNaming(scratch.path().wstring() + L"/INSTALLED"), false, installed, ownLog, L""},
        {"names another folder: the program's own log", LogNaming(elsewhere), true, installed, installedLog,
         ownLog},
        {"names another folder, none beside the program", LogNaming(elsewhere), false, installed, L"", ownLog},
        {"names no folder", LogNaming(L""), false, installed, L"", ownLog},
        {"not a log", "planted", true, installed, installedLog, ownLog},
        {"no installed program to describe", LogNaming(installedDir), false, L"", L"", ownLog},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveProductKeys();
        ::DeleteFileW(installedLog.c_str());
        scratch.File(L"downloads\\Uninstall.ulog", c.ownLogBytes);
        if (c.logBesideProgram)
            scratch.File(L"installed\\Uninstall.ulog", LogNaming(installedDir));
        std::wstring ignored;
        EXPECT_EQ(PreviousLogPathFor(own, c.installedProgram, &ignored), c.expected);
        EXPECT_EQ(ignored, c.expectedIgnored);
    }
}

}  // namespace
}  // namespace va::test
