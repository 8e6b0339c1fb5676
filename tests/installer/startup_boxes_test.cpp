// The installer started from outside: its start-up boxes read and answered
// as a user would.

#include <windows.h>

#include "installer/previous_installation.h"
#include "engine/journal/disk_journal.h"
#include "engine/journal/protected_root.h"
#include "engine/journal/uninstall_log.h"
#include "support/error_text.h"
#include "support/instance_counter.h"
#include "support/instance_mutex.h"
#include "tests/installer/startup_fixture.h"
#include "tests/driver/driver.h"

namespace va::test {
namespace {

constexpr const wchar_t* kApplicationId = L"Trelvane7";
constexpr const wchar_t* kTitle = L"Installer \u2013 Trelvane 7.08g";

bool IsMessageBox(HWND dialog)
{
    return ::GetDlgItem(dialog, 0xFFFF) != nullptr;
}

// The wizard host: the dialog with Next, Back and Exit.
bool IsHost(HWND dialog)
{
    return !IsMessageBox(dialog) && ::GetDlgItem(dialog, IDOK) && ::GetDlgItem(dialog, 3) &&
           ::GetDlgItem(dialog, IDCANCEL);
}


class StartupBoxes : public ProductKeysCleared {
protected:
    void SetUp() override
    {
        ProductKeysCleared::SetUp();
        if (!HaveDisplay())
            GTEST_SKIP() << "no window station: start Xvfb and set DISPLAY";
    }
    static bool HaveDisplay()
    {
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe)
            ::DestroyWindow(probe);
        return probe != nullptr;
    }
    // Waits for the host; then closes it with Exit and expects the end.
    static void ExpectHostThenExit(const Process& installer)
    {
        HWND host = WaitForDialog(installer, IsHost);
        ASSERT_NE(host, nullptr) << "the wizard host did not open";
        EXPECT_EQ(WindowText(host), kTitle);
        PressButton(host, IDCANCEL);
        // A fresh installation asks before it is left.
        HWND box = WaitForDialog(installer, IsMessageBox);
        ASSERT_NE(box, nullptr);
        PressButton(box, IDYES);
        EXPECT_EQ(WaitForExit(installer), 1602u) << "left before installing";
    }
    // After the last box: the process ends with `exitCode` without showing the host.
    static void ExpectEndWithoutHost(const Process& installer, DWORD exitCode)
    {
        EXPECT_EQ(WaitForDialog(installer, IsHost), nullptr) << "the wizard host opened";
        EXPECT_EQ(WaitForExit(installer), exitCode);
    }
};

TEST_F(StartupBoxes, MutexHeldByAnotherProcessShowsError170AndEnds)
{
    InstanceMutex held;
    held.Create(InstanceMutexName(kApplicationId), true);
    ASSERT_TRUE(held.owned());

    Process installer = StartProgram(InstallerProgram());
    HWND box = WaitForDialog(installer, IsMessageBox);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), ErrorText(ERROR_BUSY));
    // Before the language is chosen the application has no name yet: the
    // caption is the display text of the installer's own version.
    EXPECT_EQ(WindowText(box), L"Install 2.04a");
    EXPECT_EQ(ButtonIds(box), std::vector<int>{IDOK});
    PressButton(box, IDOK);
    ExpectEndWithoutHost(installer, 1618u);
}

// A run killed before: the next start undoes it first and says so in a box,
// then goes on as usual.
TEST_F(StartupBoxes, AnInterruptedInstallationIsUndoneAndToldInABox)
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"killed_run_folder";
    const std::wstring file = folder + L"\\left.txt";
    {
        UninstallLog run;
        DiskJournal disk;
        ASSERT_EQ(disk.Begin(DefaultJournalRoot(), L"Trelvane 7"), static_cast<DWORD>(ERROR_SUCCESS));
        run.Disk = &disk;
        ASSERT_EQ(run.RecordFile(file, 0, false), static_cast<DWORD>(ERROR_SUCCESS));
        UniqueFile made(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(made);
    }  // killed

    Process installer = StartProgram(InstallerProgram());
    HWND box = WaitForDialog(installer, IsMessageBox);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              L"The previous installation of Trelvane was interrupted. It has been undone: the computer is as it was "
              L"before it.");
    EXPECT_EQ(ButtonIds(box), std::vector<int>{IDOK});
    EXPECT_EQ(::GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES) << "undone before the box";
    EXPECT_EQ(::GetFileAttributesW(DefaultJournalRoot().c_str()), INVALID_FILE_ATTRIBUTES);
    PressButton(box, IDOK);
    ExpectHostThenExit(installer);
}

TEST_F(StartupBoxes, AnotherRegisteredProcessAsksRetryUntilItHasEnded)
{
    InstanceCounter other;
    other.Register(kApplicationId);
    ASSERT_EQ(other.registrations(), 1);

    Process installer = StartProgram(InstallerProgram());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        HWND box = WaitForDialog(installer, IsMessageBox);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), L"You should close 'Trelvane' before continuing Installation.");
        EXPECT_EQ(WindowText(box), kTitle);
        EXPECT_EQ(ButtonIds(box), (std::vector<int>{IDRETRY, IDCANCEL}));
        if (round == 1)
            other.Unregister();
        PressButton(box, IDRETRY);
        ASSERT_TRUE(WaitUntilGone(box));
    }
    ExpectHostThenExit(installer);
}

TEST_F(StartupBoxes, CancelWhileAnotherProcessIsRegisteredEndsBeforeAnyPage)
{
    InstanceCounter other;
    other.Register(kApplicationId);
    Process installer = StartProgram(InstallerProgram());
    HWND box = WaitForDialog(installer, IsMessageBox);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDCANCEL);
    ExpectEndWithoutHost(installer, 170u);
}

TEST_F(StartupBoxes, BoxesShowTheExclamationIcon)
{
    InstanceCounter other;
    other.Register(kApplicationId);
    Process installer = StartProgram(InstallerProgram());
    HWND box = WaitForDialog(installer, IsMessageBox);
    ASSERT_NE(box, nullptr);
    const HICON icon = MessageBoxIcon(box);
    const std::optional<bool> same = SameIconImage(icon, IDI_EXCLAMATION);
    PressButton(box, IDCANCEL);
    ExpectEndWithoutHost(installer, 170u);
    ASSERT_NE(icon, nullptr);
    if (!same)
        GTEST_SKIP() << "another process's icon cannot be read here (Wine keeps icon handles per process)";
    EXPECT_TRUE(*same);
}

TEST_F(StartupBoxes, RegistryFailureOtherThanNotFoundShowsItsTextAndEnds)
{
    ASSERT_TRUE(SetInstalledProgram(FixtureProgram(L"7_8_7_0")));
    ScopedKeyDenial denial(HKEY_LOCAL_MACHINE, kTestMakerKey, KEY_QUERY_VALUE);
    ASSERT_TRUE(denial.applied());
    DWORD code = 0;
    try {
        LookUpInstalledProgramPath();
    } catch (const std::system_error& error) {
        code = static_cast<DWORD>(error.code().value());
    }
    if (code == 0)
        GTEST_SKIP() << "the registry here grants what the key's access list refuses";

    Process installer = StartProgram(InstallerProgram());
    HWND box = WaitForDialog(installer, IsMessageBox);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), ErrorText(code));
    EXPECT_EQ(WindowText(box), kTitle);
    EXPECT_EQ(ButtonIds(box), std::vector<int>{IDOK});
    PressButton(box, IDOK);
    ExpectEndWithoutHost(installer, 1603u);
}

TEST_F(StartupBoxes, NewerInstalledVersionOpensTheHostWithNextDisabled)
{
    ASSERT_TRUE(SetInstalledProgram(FixtureProgram(L"7_9_0_0")));
    Process installer = StartProgram(InstallerProgram());
    HWND host = WaitForDialog(installer, IsHost);
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(host, IDOK)));
    PressButton(host, IDCANCEL);
    EXPECT_EQ(WaitForExit(installer), 1638u) << "a newer version is installed";
}

// The Start page says what start-up found: an update from the installed
// version, in the persisted language (English).
TEST_F(StartupBoxes, UpdateOverAnOlderVersionShowsBothVersionsOnTheStartPage)
{
    ScratchFolder scratch(L"vantaro startup update test");
    const std::wstring installFolder = scratch.Folder(L"product");
    const std::wstring menuFolder = scratch.Folder(L"menu");
    const std::wstring uninstallerFolder = scratch.Folder(L"uninstaller");
    {
        UninstallLog log;
        ASSERT_TRUE(log.WriteLog(uninstallerFolder + L"\\Uninstall.ulog", installFolder, menuFolder));
    }
    ASSERT_TRUE(SetInstalledProgram(FixtureProgram(L"7_8_7_0")));
    ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"UninstallString",
                          uninstallerFolder + L"\\Uninstall.exe"));
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", 1));

    Process installer = StartProgram(InstallerProgram());
    HWND host = WaitForDialog(installer, IsHost);
    ASSERT_NE(host, nullptr);
    HWND start = nullptr;
    for (HWND page : ChildDialogs(host)) {
        if (::GetDlgItem(page, 1023))
            start = page;
    }
    ASSERT_NE(start, nullptr) << "no Start page";
    EXPECT_EQ(ControlText(start, 1016), L"Update from 'Trelvane 7.08f' to 'Trelvane 7.08g'.");
    EXPECT_EQ(ControlText(start, 1003), L"Click on 'Next' to continue.");
    PressButton(host, IDCANCEL);
    HWND box = WaitForDialog(installer, IsMessageBox);
    ASSERT_NE(box, nullptr) << "leaving an update did not ask";
    PressButton(box, IDYES);
    EXPECT_EQ(WaitForExit(installer), 1602u);
}

}  // namespace
}  // namespace va::test
