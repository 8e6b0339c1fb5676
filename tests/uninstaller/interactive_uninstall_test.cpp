// The uninstaller with its windows: the confirmation, the question about
// the data files, a file in use, the progress window and the final message,
// in the installation's language.

#include <windows.h>

#include <gmock/gmock.h>

#include "engine/journal/disk_journal.h"
#include "engine/journal/protected_root.h"
#include "engine/journal/uninstall_log.h"
#include "tests/common/box_watcher.h"
#include "tests/common/scratch_registry.h"
#include "tests/uninstaller/uninstall_fixture.h"

namespace va::test {
namespace {

using testing::HasSubstr;
using testing::IsEmpty;

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return narrow;
}

class InteractiveUninstall : public UninstallTest {
protected:
    void SetUp() override
    {
        if (!box_test::CanCreateWindows())
            GTEST_SKIP() << "no display: the uninstaller's windows cannot be shown";
        UninstallTest::SetUp();
    }

    // The next box of the uninstaller whose text holds `part`; fails the
    // test when none comes.
    static HWND BoxWith(const ProcessGroup& group, const std::wstring& part)
    {
        HWND box = WaitForDialog(
            group.First(), [&part](HWND dialog) { return MessageBoxText(dialog).find(part) != std::wstring::npos; },
            kUninstallLimitMs);
        EXPECT_NE(box, nullptr) << "no box saying " << Narrow(part);
        return box;
    }
    static void Answer(HWND box, int button)
    {
        if (box) {
            PressButton(box, button);
            WaitUntilGone(box);
        }
    }
};

TEST_F(InteractiveUninstall, ConfirmNoRemovesNothing)
{
    const DemoInstallation d = InstallDemo();
    const MachineSnapshot installed = MachineSnapshot::Take();
    ProcessGroup group(d.uninstaller);
    HWND box = BoxWith(group, L"Remove 'Trelvane 7.08g' and all of its components?");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), L"Uninstaller \u2013 Trelvane 7.08g");
    EXPECT_THAT(ButtonIds(box), testing::UnorderedElementsAre(IDYES, IDNO));
    Answer(box, IDNO);
    EXPECT_EQ(group.WaitForFirst(kUninstallLimitMs), 1602u);
    EXPECT_TRUE(group.WaitForAll(kUninstallLimitMs));
    EXPECT_THAT(Differences(installed, MachineSnapshot::Take()), IsEmpty());
}

// An installation killed before: undone first, said in a box, then the
// uninstallation asks as usual.
TEST_F(InteractiveUninstall, AnInterruptedInstallationIsUndoneAndToldFirst)
{
    const DemoInstallation d = InstallDemo();
    const std::wstring added = d.installFolder + L"\\added.dll";
    {
        UninstallLog run;
        DiskJournal disk;
        ASSERT_EQ(disk.Begin(DefaultJournalRoot(), L"Trelvane 7"), static_cast<DWORD>(ERROR_SUCCESS));
        run.Disk = &disk;
        ASSERT_EQ(run.RecordFile(added, 0, false), static_cast<DWORD>(ERROR_SUCCESS));
        HANDLE file = ::CreateFileW(added.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ::CloseHandle(file);
    }  // killed
    ProcessGroup group(d.uninstaller);
    HWND told = BoxWith(group, L"The previous installation of Trelvane 7.08g was interrupted. It has been undone");
    ASSERT_NE(told, nullptr);
    EXPECT_EQ(::GetFileAttributesW(added.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ButtonIds(told), std::vector<int>{IDOK});
    Answer(told, IDOK);
    HWND confirm = BoxWith(group, L"Remove 'Trelvane 7.08g' and all of its components?");
    Answer(confirm, IDNO);
    EXPECT_EQ(group.WaitForFirst(kUninstallLimitMs), 1602u);
    EXPECT_TRUE(group.WaitForAll(kUninstallLimitMs));
}

TEST_F(InteractiveUninstall, ADamagedLogIsExplainedAndNothingIsRemoved)
{
    const DemoInstallation d = InstallDemo();
    ::SetFileAttributesW(d.log.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        // A blank line after the header: the reading stops at line 7.
        HANDLE log = ::CreateFileW(d.log.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(log, INVALID_HANDLE_VALUE);
        std::string bytes(64 * 1024, '\0');
        DWORD got = 0;
        ::ReadFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        bytes.resize(got);
        std::size_t at = 2;
        for (int line = 0; line < 6; ++line)
            at = bytes.find(std::string("\n\0", 2), at) + 2;
        bytes.insert(at, std::string("\r\0\n\0", 4));
        ::SetFilePointer(log, 0, nullptr, FILE_BEGIN);
        DWORD written = 0;
        ::WriteFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(log);
    }
    const MachineSnapshot damaged = MachineSnapshot::Take();
    ProcessGroup group(d.uninstaller);
    HWND box = BoxWith(group, L"is damaged (line 7)");
    ASSERT_NE(box, nullptr);
    EXPECT_THAT(MessageBoxText(box), HasSubstr(d.log));
    EXPECT_THAT(MessageBoxText(box), HasSubstr(L"Nothing was removed."));
    Answer(box, IDOK);
    EXPECT_EQ(group.WaitForFirst(kUninstallLimitMs), 1610u);
    EXPECT_THAT(Differences(damaged, MachineSnapshot::Take()), IsEmpty());
}

TEST_F(InteractiveUninstall, AsksAboutDataAndFilesInUseShowsItsProgressAndReports)
{
    const DemoInstallation d = InstallDemo();
    const std::wstring held = d.installFolder + L"\\Lang\\TrelvaneFRA.dll";
    UniqueFile handle(::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(handle);

    ProcessGroup group(d.uninstaller);
    Answer(BoxWith(group, L"Remove 'Trelvane 7.08g'"), IDYES);
    HWND data = BoxWith(group, L"Remove them too?");
    ASSERT_NE(data, nullptr);
    for (const std::wstring& file : d.dataFiles)
        EXPECT_THAT(MessageBoxText(data), HasSubstr(file));
    EXPECT_EQ(::GetWindowLongW(::GetDlgItem(data, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON, BS_DEFPUSHBUTTON)
        << "keeping the data is the default";
    Answer(data, IDNO);

    // The file in use: Retry while it is still held asks again; once it is
    // free, Retry removes it.
    HWND inUse = BoxWith(group, held);
    ASSERT_NE(inUse, nullptr);
    EXPECT_THAT(ButtonIds(inUse), testing::UnorderedElementsAre(IDRETRY, IDCANCEL));
    const HWND progress = ::GetWindow(inUse, GW_OWNER);
    ASSERT_NE(progress, nullptr) << "the box belongs to the progress window";
    EXPECT_EQ(WindowText(progress), L"Uninstaller \u2013 Trelvane 7.08g");
    EXPECT_THAT(StaticTexts(progress), testing::Contains(L"Removing 'Trelvane 7.08g'..."));
    Answer(inUse, IDRETRY);
    inUse = BoxWith(group, held);
    handle.reset();
    Answer(inUse, IDRETRY);

    HWND done = BoxWith(group, L"'Trelvane 7.08g' has been removed.");
    ASSERT_NE(done, nullptr);
    EXPECT_THAT(MessageBoxText(done), HasSubstr(L"have been kept"));
    EXPECT_THAT(MessageBoxText(done), HasSubstr(d.dataFiles[0]));
    Answer(done, IDOK);
    EXPECT_EQ(group.WaitForFirst(kUninstallLimitMs), 0u);
    EXPECT_TRUE(group.WaitForAll(kUninstallLimitMs));
    EXPECT_THAT(RestartDeletions(), testing::Not(testing::Contains(held)));
    EXPECT_THAT(ChangesSinceStart(d.dataFiles), IsEmpty()) << va::test::Narrow(ChangesSinceStart(d.dataFiles));
}

TEST_F(InteractiveUninstall, SpeaksTheLanguageTheProductWasInstalledIn)
{
    const struct {
        DWORD language;
        const wchar_t* confirmation;
        const wchar_t* caption;
    } cases[] = {
        {0, L"Supprimer 'Trelvane 7.08g' et tous ses composants ?", L"D\u00e9sinstalleur \u2013 Trelvane 7.08g"},
        {7, L"'Trelvane 7.08g' ve t\u00fcm bile\u015fenleri kald\u0131r\u0131ls\u0131n m\u0131?",
         L"Kald\u0131rma Program\u0131 \u2013 Trelvane 7.08g"},
        {5, L"Remove 'Trelvane 7.08g' and all of its components?", L"Uninstaller \u2013 Trelvane 7.08g"},  // Dutch: no texts
    };
    const DemoInstallation d = InstallDemo();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7",
                               L"VaLanguage", c.language));
        ProcessGroup group(d.uninstaller);
        HWND box = BoxWith(group, c.confirmation);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(box), c.caption);
        Answer(box, IDNO);
        EXPECT_EQ(group.WaitForFirst(kUninstallLimitMs), 1602u);
    }
}

TEST_F(InteractiveUninstall, ABadSwitchIsExplainedWithTheList)
{
    const DemoInstallation d = InstallDemo();
    ProcessGroup group(d.uninstaller, L"/silent");
    HWND box = BoxWith(group, L"The command line is not valid: /silent");
    ASSERT_NE(box, nullptr);
    EXPECT_THAT(MessageBoxText(box), HasSubstr(L"/log=FILE"));
    EXPECT_THAT(MessageBoxText(box), HasSubstr(L"3010 restart needed"));
    Answer(box, IDOK);
    EXPECT_EQ(group.WaitForFirst(kUninstallLimitMs), 87u);
}

}  // namespace
}  // namespace va::test
