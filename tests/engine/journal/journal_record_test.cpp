#include <gtest/gtest.h>

#include "engine/journal/backup_file.h"
#include "engine/journal/uninstall_log.h"
#include "tests/common/scoped_fault.h"
#include "tests/common/scratch_folder.h"
#include "tests/common/temporary_path.h"

namespace va {
namespace {

using test::Attributes;
using test::Exists;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

LogEntry Entry(std::int32_t type, std::wstring path, std::uint8_t outcome = 1)
{
    LogEntry e;
    e.Type = type;
    e.Path = std::move(path);
    e.Outcome = outcome;
    return e;
}

std::vector<std::wstring> FolderPaths(const std::list<LogEntry>& entries)
{
    std::vector<std::wstring> paths;
    for (const auto& e : entries) {
        EXPECT_EQ(e.Type, CreatedFolder);
        EXPECT_EQ(e.Outcome, 1);
        EXPECT_EQ(e.Detail, -1);
        EXPECT_TRUE(e.BackupPath.empty());
        paths.push_back(e.Path);
    }
    return paths;
}

TEST(RecordFolders, CreatesAndJournalsOnlyTheMissingFolders)
{
    ScratchFolder s;
    ASSERT_TRUE(::CreateDirectoryW((s / L"a").c_str(), nullptr));
    UninstallLog log;
    log.RecordFolders(s / L"a\\b\\c");
    EXPECT_EQ(FolderPaths(log.NewEntries), (std::vector<std::wstring>{s / L"a\\b", s / L"a\\b\\c"}));
    EXPECT_TRUE(Attributes(s / L"a\\b\\c") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(log.AwaitingOutcome);

    log.NewEntries.clear();
    log.RecordFolders(s / L"a\\b\\c");  // all there now
    log.RecordFolders(s / L"d/e\\");    // slash and trailing separator
    EXPECT_EQ(FolderPaths(log.NewEntries), (std::vector<std::wstring>{s / L"d", s / L"d/e"}));
}

TEST(RecordFolders, StopsAtTheFirstFolderItCannotCreate)
{
    ScratchFolder s;
    ASSERT_TRUE(::CreateDirectoryW((s / L"p").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(s / L"p\\f", "a file in the way"));
    UninstallLog log;
    log.RecordFolders(s / L"p\\q\\..\\f\\x\\y");  // "q" is made, then the file stops it
    log.RecordFolders(s / L"p\\f\\g");
    EXPECT_EQ(FolderPaths(log.NewEntries), (std::vector<std::wstring>{s / L"p\\q"}));
    EXPECT_FALSE(Exists(s / L"p\\f\\g"));
}

TEST(RecordFolders, LeavesAPathTooLongForItsBufferAlone)
{
    ScratchFolder s;
    const std::wstring parent = s / L"a";
    const std::wstring longest = parent + L"\\" + std::wstring(MAX_PATH - 2 - parent.size(), L'x');
    const std::wstring tooLong = longest + L"y";
    ASSERT_EQ(longest.size(), std::size_t{MAX_PATH - 1});
    UninstallLog log;
    log.RecordFolders(tooLong);
    log.RecordFile(tooLong + L"\\f.txt", 0, false);
    EXPECT_FALSE(Exists(parent)) << "no cut-short copy was made";
    ASSERT_EQ(log.NewEntries.size(), 1u);
    EXPECT_EQ(log.NewEntries.back().Type, InstalledFile);

    log.RecordFolders(longest);
    EXPECT_EQ(FolderPaths({std::next(log.NewEntries.begin()), log.NewEntries.end()}),
              (std::vector<std::wstring>{parent, longest}));
    log.Rollback();
}

TEST(RecordFile, MovesTheReplacedFileToABackupWithItsAttributes)
{
    ScratchFolder s;
    const std::wstring target = s / L"app.exe";
    ASSERT_TRUE(WriteBytes(target, "old program"));
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    UninstallLog log;
    log.RecordFile(target, 1, false);
    EXPECT_TRUE(log.AwaitingOutcome);
    ASSERT_EQ(log.NewEntries.size(), 1u);  // the folder existed
    const LogEntry& e = log.NewEntries.back();
    EXPECT_EQ(e.Type, InstalledFile);
    EXPECT_EQ(e.Path, target);
    EXPECT_EQ(e.Detail, 1);
    EXPECT_EQ(e.Outcome, 0);
    ASSERT_FALSE(e.BackupPath.empty());
    EXPECT_FALSE(Exists(target));
    EXPECT_EQ(ReadBytes(e.BackupPath), "old program");
    EXPECT_EQ(Attributes(e.BackupPath) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
    log.Rollback();
}

TEST(RecordFile, WithTheCopyFlagLeavesTheFileAndKeepsACopy)
{
    ScratchFolder s;
    const std::wstring target = s / L"settings.cfg";
    ASSERT_TRUE(WriteBytes(target, "user data"));
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));

    UninstallLog log;
    log.RecordFile(target, 3, true);
    const LogEntry& e = log.NewEntries.back();
    ASSERT_FALSE(e.BackupPath.empty());
    EXPECT_EQ(ReadBytes(target), "user data");
    EXPECT_EQ(ReadBytes(e.BackupPath), "user data");
    EXPECT_TRUE(Attributes(target) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Attributes(e.BackupPath) & FILE_ATTRIBUTE_READONLY);
    log.Rollback();
}

// A temporary folder too long for a backup name: the entry is refused, the
// file stays where it is, and neither the transaction's error report nor the
// rollback touches it or the entries before it.
TEST(RecordFile, RefusesAnEntryWhoseBackupCannotBeMade)
{
    ScratchFolder s;
    const std::wstring target = s / L"app.exe";
    const std::wstring longTemp = test::MakeFolderOfLength(s.Path(), 248);
    {
        test::TemporaryPathOverride probe(longTemp);
        if (!probe.Applied())
            GTEST_SKIP() << "this system does not take the temporary path from TMP as given";
    }
    for (bool copy : {false, true}) {
        SCOPED_TRACE(copy);
        ASSERT_TRUE(WriteBytes(target, "old program"));
        UninstallLog log;
        EXPECT_EQ(log.RecordFile(s / L"first.dll", 0, false), DWORD{ERROR_SUCCESS});
        ASSERT_TRUE(WriteBytes(s / L"first.dll", "placed"));
        log.CommitOutcome(1);
        {
            test::TemporaryPathOverride temp(longTemp);
            if (!temp.Applied())
                GTEST_SKIP() << "this system does not take the temporary path from TMP as given";
            EXPECT_EQ(log.RecordFile(target, 1, copy), DWORD{ERROR_FILENAME_EXCED_RANGE});
        }
        EXPECT_EQ(ReadBytes(target), "old program");
        EXPECT_EQ(log.NewEntries.size(), 1u) << "no entry for a file that was not saved";
        EXPECT_FALSE(log.AwaitingOutcome);
        log.CommitOutcome(0);  // the transaction's error report
        EXPECT_EQ(log.NewEntries.back().Outcome, 1) << "the entry before keeps its outcome";
        log.Rollback();
        EXPECT_EQ(ReadBytes(target), "old program");
        EXPECT_FALSE(Exists(s / L"first.dll"));
    }
}

TEST(RecordFile, JournalsTheMissingFoldersBeforeTheFile)
{
    ScratchFolder s;
    UninstallLog log;
    log.RecordFile(s / L"n1\\n2\\f.txt", 0, false);
    ASSERT_EQ(log.NewEntries.size(), 3u);
    auto it = log.NewEntries.begin();
    EXPECT_EQ(it->Path, s / L"n1");
    EXPECT_EQ((++it)->Path, s / L"n1\\n2");
    EXPECT_EQ((++it)->Type, InstalledFile);
    EXPECT_TRUE(it->BackupPath.empty());
    log.Rollback();
}

// A folder the journal could not make would be made by the writer, outside
// the journal, and outlive a rollback: the file is refused instead.
TEST(RecordFile, RefusesTheFileWhenOneOfItsFoldersCannotBeMade)
{
    ScratchFolder s;
    UninstallLog log;
    {
        test::ScopedFault fault("create folder", 2);
        EXPECT_EQ(log.RecordFile(s / L"n1\\n2\\f.txt", 0, false), DWORD{ERROR_ACCESS_DENIED});
    }
    EXPECT_EQ(FolderPaths(log.NewEntries), (std::vector<std::wstring>{s / L"n1"})) << "the folder made stays journalled";
    EXPECT_FALSE(log.AwaitingOutcome);
    EXPECT_FALSE(Exists(s / L"n1\\n2"));
    log.Rollback();
    EXPECT_FALSE(Exists(s / L"n1"));
}

// A backup that fails leaves the old file where it is, whether it was to be
// moved or copied.
TEST(RecordFile, LeavesTheOldFileInPlaceWhenItsBackupFails)
{
    ScratchFolder s;
    const std::wstring target = s / L"app.exe";
    for (bool copy : {false, true}) {
        SCOPED_TRACE(copy);
        ASSERT_TRUE(WriteBytes(target, "old program"));
        UninstallLog log;
        {
            test::ScopedFault fault("back up file");
            EXPECT_EQ(log.RecordFile(target, 1, copy), DWORD{ERROR_DISK_FULL});
        }
        EXPECT_EQ(ReadBytes(target), "old program");
        EXPECT_TRUE(log.NewEntries.empty());
        EXPECT_FALSE(log.AwaitingOutcome);
    }
}

TEST(BackupToTemp, GivesAReservedTemporaryNameOrNothing)
{
    wchar_t temp[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring name = BackupToTemp(nullptr, false);
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.rfind(temp, 0), 0u) << "in the temporary folder";
    EXPECT_EQ(name.compare(wcslen(temp), 2, L"va"), 0);
    // The name stays taken (an empty file) so that no other process can
    // slip something in under it before the backup is written there.
    EXPECT_EQ(ReadBytes(name), "");
    DiscardBackup(name);

    ScratchFolder s;
    const std::wstring missing = s / L"missing.txt";
    EXPECT_TRUE(BackupToTemp(&missing, false).empty());
    EXPECT_TRUE(BackupToTemp(&missing, true).empty());
}

// The backup replaces the name reserved for it, and a failed one leaves no
// reserved name behind.
TEST(BackupToTemp, FillsTheReservedNameAndLeavesNoneWhenItFails)
{
    wchar_t temp[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    const auto count = [&temp] {
        int n = 0;
        WIN32_FIND_DATAW found;
        HANDLE find = ::FindFirstFileW((std::wstring(temp) + L"va*.tmp").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return 0;
        do
            ++n;
        while (::FindNextFileW(find, &found));
        ::FindClose(find);
        return n;
    };
    ScratchFolder s;
    const std::wstring missing = s / L"missing.txt";
    const int before = count();
    EXPECT_TRUE(BackupToTemp(&missing, false).empty());
    EXPECT_TRUE(BackupToTemp(&missing, true).empty());
    EXPECT_EQ(count(), before);

    ASSERT_TRUE(WriteBytes(s / L"moved.txt", "moved"));
    ASSERT_TRUE(WriteBytes(s / L"copied.txt", "copied"));
    const std::wstring moved = s / L"moved.txt";
    const std::wstring copied = s / L"copied.txt";
    const std::wstring a = BackupToTemp(&moved, false);
    const std::wstring b = BackupToTemp(&copied, true);
    EXPECT_EQ(ReadBytes(a), "moved");
    EXPECT_EQ(ReadBytes(b), "copied");
    EXPECT_EQ(count(), before + 2);
    DiscardBackup(a);
    DiscardBackup(b);
}

TEST(CommitOutcome, SetsOnlyTheEntryAwaitingIt)
{
    ScratchFolder s;
    UninstallLog log;
    log.CommitOutcome(1);  // nothing recorded: nothing happens
    EXPECT_TRUE(log.NewEntries.empty());

    log.RecordFile(s / L"a", 0, false);
    log.RecordFile(s / L"b", 0, false);
    const std::wstring link = s / L"b.lnk";
    log.CommitOutcome(1, &link);
    EXPECT_FALSE(log.AwaitingOutcome);
    EXPECT_EQ(log.NewEntries.front().Outcome, 0);
    EXPECT_EQ(log.NewEntries.back().Outcome, 1);
    EXPECT_EQ(log.NewEntries.back().Path, link);

    log.CommitOutcome(0);  // already committed
    EXPECT_EQ(log.NewEntries.back().Outcome, 1);

    log.RecordDirectX();
    log.CommitOutcome(1);
    EXPECT_EQ(log.NewEntries.back().Type, DirectXRuntime);
    EXPECT_EQ(log.NewEntries.back().Outcome, 1);
    EXPECT_TRUE(log.NewEntries.back().Path.empty());
    log.Rollback();
}

TEST(CommitOutcome, AfterARollbackChangesNothing)
{
    ScratchFolder s;
    UninstallLog log;
    log.RecordFile(s / L"a", 0, false);
    log.Rollback();  // the step never reported
    log.CommitOutcome(1);
    EXPECT_TRUE(log.NewEntries.empty());
    EXPECT_FALSE(log.AwaitingOutcome);
}

TEST(RecordSteps, AppendTheirTypeWithNothingElse)
{
    UninstallLog log;
    log.RecordUninstallKey(nullptr);
    log.RecordFileTypes();
    log.RecordDirectX();
    ASSERT_EQ(log.NewEntries.size(), 3u);
    std::int32_t expected = UninstallKey;
    for (const auto& e : log.NewEntries) {
        EXPECT_EQ(e.Type, expected++);
        EXPECT_TRUE(e.Path.empty());
        EXPECT_TRUE(e.BackupPath.empty());
        EXPECT_EQ(e.Outcome, 0);
        EXPECT_EQ(e.Detail, -1);
    }
    EXPECT_TRUE(log.AwaitingOutcome);
}

TEST(IsKeptDataFile, ComparesPathsExactly)
{
    UninstallLog log;
    log.PreviousEntries = {Entry(InstalledFile, L"C:\\D\\data.cfg"), Entry(InstalledFile, L"C:\\D\\partial.cfg", 0),
                           Entry(CreatedFolder, L"C:\\D\\folder")};
    const struct {
        const wchar_t* path;
        bool kept;
    } cases[] = {
        {L"C:\\D\\data.cfg", true},     {L"c:\\d\\DATA.cfg", false}, {L"C:/D/data.cfg", false},
        {L"C:\\D\\data.cfg ", false},   {L"C:\\D\\partial.cfg", false}, {L"C:\\D\\folder", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(log.IsKeptDataFile(c.path), c.kept) << c.path;
}

TEST(PreviousDirectXDone, NeedsASuccessfulPreviousStep)
{
    const struct {
        std::list<LogEntry> previous;
        bool done;
    } cases[] = {
        {{}, false},
        {{Entry(DirectXRuntime, L"x", 0)}, false},
        {{Entry(InstalledFile, L"x", 1)}, false},
        {{Entry(DirectXRuntime, L"x", 0), Entry(DirectXRuntime, L"y", 1)}, true},
    };
    for (const auto& c : cases) {
        UninstallLog log;
        log.PreviousEntries = c.previous;
        EXPECT_EQ(log.PreviousDirectXDone(), c.done) << c.previous.size();
    }
}

TEST(RecordShortcut, MovesThePreviousShortcutOfItsTypeAway)
{
    ScratchFolder s;
    ASSERT_TRUE(WriteBytes(s / L"old.lnk", "old program link"));
    ASSERT_TRUE(WriteBytes(s / L"second.lnk", "another"));
    ASSERT_TRUE(WriteBytes(s / L"desk.lnk", "desktop"));
    UninstallLog log;
    log.PreviousEntries = {Entry(UninstallShortcut, s / L"gone.lnk"), Entry(ProgramShortcut, s / L"old.lnk"),
                           Entry(ProgramShortcut, s / L"second.lnk"), Entry(UninstallShortcut, s / L"second.lnk"),
                           Entry(DesktopShortcut, s / L"desk.lnk")};

    log.RecordShortcut(0, s.Path());
    ASSERT_EQ(log.NewEntries.size(), 1u);
    const LogEntry& program = log.NewEntries.back();
    EXPECT_EQ(program.Type, ProgramShortcut);
    EXPECT_TRUE(program.Path.empty());
    EXPECT_TRUE(log.AwaitingOutcome);
    EXPECT_EQ(ReadBytes(program.BackupPath), "old program link");
    EXPECT_FALSE(Exists(s / L"old.lnk"));
    EXPECT_TRUE(Exists(s / L"second.lnk")) << "only the first of its type";

    log.RecordShortcut(1, s.Path());  // its first predecessor is gone already
    EXPECT_EQ(log.NewEntries.back().Type, UninstallShortcut);
    EXPECT_TRUE(log.NewEntries.back().BackupPath.empty());
    EXPECT_TRUE(Exists(s / L"second.lnk"));

    log.RecordShortcut(7, s.Path());
    EXPECT_EQ(log.NewEntries.back().Type, DesktopShortcut);
    EXPECT_EQ(ReadBytes(log.NewEntries.back().BackupPath), "desktop");
    log.Rollback();
}

// A previous log may come from anywhere: its shortcut entries move only
// ".lnk" files inside this run's own shortcut folder (or a desktop), and
// nothing else is ever moved, kept as a backup or deleted.
TEST(RecordShortcut, LeavesEveryFileOutsideItsOwnFolderAlone)
{
    ScratchFolder s;
    ASSERT_TRUE(::CreateDirectoryW((s / L"menu").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((s / L"elsewhere").c_str(), nullptr));
    const std::wstring cases[] = {
        s / L"victim.txt",            s / L"elsewhere\\program.lnk", s / L"menu\\settings.ini",
        s / L"menu\\..\\victim.lnk", s / L"menu",
    };
    for (const std::wstring& planted : cases) {
        SCOPED_TRACE(std::string(planted.begin(), planted.end()));
        if (planted != s / L"menu") {
            ASSERT_TRUE(WriteBytes(planted, "somebody's file"));
        }
        for (int kind : {0, 1, 2}) {
            UninstallLog log;
            log.PreviousEntries = {Entry(kind == 0 ? ProgramShortcut : kind == 1 ? UninstallShortcut : DesktopShortcut,
                                         planted)};
            log.RecordShortcut(kind, s / L"menu");
            EXPECT_TRUE(log.NewEntries.back().BackupPath.empty());
            EXPECT_TRUE(log.WriteLog(s / L"Uninstall.ulog", s.Path(), s / L"menu"));
            EXPECT_TRUE(Exists(planted));
            ::SetFileAttributesW((s / L"Uninstall.ulog").c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

}  // namespace
}  // namespace va
