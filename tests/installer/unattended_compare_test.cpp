// A quiet installation is the wizard's quick installation without window:
// the machine ends the same, and the log holds the same progress lines; a
// passive one runs by itself and closes after its success.

#include <windows.h>

#include <gmock/gmock.h>

#include <regex>
#include <sstream>

#include "tests/installer/unattended_fixture.h"
#include "tests/wizard/wizard_pages.h"

namespace va::test {
namespace {

using testing::HasSubstr;
using testing::IsEmpty;

// Differences of two installations: the same entries with the same
// attributes and sizes (write times differ from run to run), the same
// registry values.
std::vector<std::wstring> Mismatches(const MachineSnapshot& a, const MachineSnapshot& b)
{
    std::vector<std::wstring> lines;
    for (const auto& [path, facts] : a.files) {
        const auto other = b.files.find(path);
        if (other == b.files.end())
            lines.push_back(L"only in the first: " + path);
        else if (facts.attributes != other->second.attributes || facts.size != other->second.size)
            lines.push_back(L"differs: " + path);
    }
    for (const auto& [path, facts] : b.files)
        if (!a.files.contains(path))
            lines.push_back(L"only in the second: " + path);
    for (const auto& [key, value] : a.registry) {
        const auto other = b.registry.find(key);
        if (other == b.registry.end() || other->second != value)
            lines.push_back(L"registry: " + key + L" = " + value);
    }
    for (const auto& [key, value] : b.registry)
        if (!a.registry.contains(key))
            lines.push_back(L"registry only in the second: " + key);
    return lines;
}

// The lines of the transaction (from its first line of dashes), without
// their times and with the per-run temporary folder's name made alike.
std::vector<std::string> TransactionLines(const std::string& log)
{
    std::vector<std::string> lines;
    std::istringstream in(log);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        const std::string text = std::regex_replace(line.size() > 20 ? line.substr(20) : std::string(),
                                                    std::regex("vantaro_\\{[-0-9a-f]+\\}"), "vantaro_{...}");
        if (text.starts_with("----"))
            inside = true;
        if (inside && !text.starts_with("exit code") && text != "installed\r")
            lines.push_back(text);
    }
    return lines;
}

class Unattended : public UnattendedTest {
protected:
    void SetUp() override
    {
        UnattendedTest::SetUp();
        if (!HaveDisplay())
            GTEST_SKIP() << "no window station: start Xvfb and set DISPLAY";
    }
};

TEST_F(Unattended, AQuietInstallationLeavesTheMachineAsTheWizardsQuickInstallation)
{
    const MachineSnapshot before = MachineSnapshot::Take(ProductScope());

    // The wizard, as a user makes a quick installation.
    Process wizard = StartProgram(InstallerProgram(), L"/log=\"" + runLog_ + L"\"");
    HWND host = WaitForDialog(wizard, IsHost);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(WaitForPage(host, 0));
    PressButton(host, IDOK);
    ASSERT_TRUE(WaitForPage(host, 1));
    PressButton(host, IDOK);
    ASSERT_TRUE(WaitForPage(host, 4)) << "a quick installation goes to the Install page";
    ASSERT_TRUE(RunInstallation(host, kInstallLimitMs));
    ASSERT_TRUE(WaitUntilSettled(host));
    PressButton(host, IDOK);
    ASSERT_TRUE(WaitForPage(host, 5));
    PressButton(host, IDCANCEL);
    EXPECT_EQ(WaitForExit(wizard, kInstallLimitMs), 0u);
    const MachineSnapshot byWizard = MachineSnapshot::Take(ProductScope());
    const std::string wizardLog = RunLogText();
    const std::string wizardUninstallLog = FileBytes(DemoLayout().log);
    ASSERT_GT(Differences(before, byWizard).size(), 20u) << "the wizard installed nothing?";

    RemoveDemoTraces();
    RemoveProductKeys();
    ASSERT_THAT(Differences(before, MachineSnapshot::Take(ProductScope())), IsEmpty());
    ::DeleteFileW(runLog_.c_str());

    const WatchedRun quiet = RunQuiet();
    const std::string quietLog = RunLogText();
    EXPECT_EQ(quiet.exitCode, 0u) << quietLog;
    EXPECT_THAT(quiet.visibleWindows, IsEmpty()) << "a quiet run showed a window";
    EXPECT_THAT(Mismatches(byWizard, MachineSnapshot::Take(ProductScope())), IsEmpty());
    EXPECT_EQ(FileBytes(DemoLayout().log), wizardUninstallLog) << "Uninstall.ulog differs";

    // Both logs hold the same start-up facts and the same progress lines.
    for (const char* fact : {"install kind Fresh", "interface language 1", "desktop shortcut yes", "exit code 0"}) {
        EXPECT_THAT(wizardLog, HasSubstr(fact));
        EXPECT_THAT(quietLog, HasSubstr(fact));
    }
    EXPECT_THAT(quietLog, HasSubstr("Preparing Installation...OK"));
    EXPECT_THAT(quietLog, HasSubstr("Installation Data Writing...OK"));
    EXPECT_EQ(TransactionLines(quietLog), TransactionLines(wizardLog));
}

TEST_F(Unattended, APassiveInstallationRunsByItselfAndClosesAfterItsSuccess)
{
    Process installer = StartProgram(InstallerProgram(), L"/passive /log=\"" + runLog_ + L"\"");
    HWND host = WaitForDialog(installer, IsHost);
    ASSERT_NE(host, nullptr) << "passive shows the wizard";
    // It opens on the Install page; nobody presses anything.
    EXPECT_EQ(VisiblePage(host), 4);
    EXPECT_EQ(WaitForExit(installer, kInstallLimitMs), 0u) << RunLogText();
    EXPECT_TRUE(::GetFileAttributesW(DemoLayout().mainProgram.c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_THAT(RunLogText(), HasSubstr("mode passive"));
    EXPECT_THAT(RunLogText(), HasSubstr("Registry Data Writing..."));
}

}  // namespace
}  // namespace va::test
