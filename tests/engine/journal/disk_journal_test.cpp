// A run killed part-way: its journal on disk (written as the in-memory
// journal records), the objects dropped without commit or rollback, then
// the recovery a later start runs.

#include <gtest/gtest.h>

#include "engine/journal/disk_journal.h"
#include "engine/journal/journal_recovery.h"
#include "engine/journal/uninstall_log.h"
#include "support/fault_point.h"
#include "tests/common/scratch_folder.h"

namespace va {
namespace {

using test::Attributes;
using test::Exists;
using test::IsFolder;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

std::wstring OnlyRunFolder(const std::wstring& root)
{
    WIN32_FIND_DATAW found;
    std::wstring run;
    UniqueFind find(::FindFirstFileW((root + L"\\run-*").c_str(), &found));
    if (find)
        run = root + L"\\" + found.cFileName;
    return run;
}

// Fails the `failAt`-th "undo change" point (0: none), counting them all.
int g_undoPoints = 0;
int g_failAt = 0;
DWORD CountingHook(const char* operation, DWORD failure)
{
    if (std::string(operation) != "undo change")
        return ERROR_SUCCESS;
    return ++g_undoPoints == g_failAt ? failure : DWORD{ERROR_SUCCESS};
}

class KilledRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = s / L"Vantaro Journal";
        program = s.File(L"app\\program.exe", "old program");
        ASSERT_TRUE(::SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_READONLY));
        data = s / L"app\\new\\deeper\\data.bin";
        copied = s.File(L"app\\settings.ini", "old settings");
        g_undoPoints = 0;
        g_failAt = 0;
        SetFaultHook(CountingHook);
    }
    void TearDown() override { SetFaultHook(nullptr); }

    // The run as far as it gets: every change journalled, then the process
    // "dies": nothing is committed or rolled back.  `commit`: it died after
    // its Commit record.
    void RunAndDie(bool commit = false)
    {
        UninstallLog log;
        DiskJournal disk;
        ASSERT_EQ(disk.Begin(root, L"Trelvane 7"), static_cast<DWORD>(ERROR_SUCCESS));
        log.Disk = &disk;
        ASSERT_EQ(log.RecordFile(program, 0, false), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_TRUE(WriteBytes(program, "new program"));
        log.CommitOutcome(1);
        ASSERT_EQ(log.RecordFile(data, 0, false), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_TRUE(WriteBytes(data, "new data"));
        log.CommitOutcome(1);
        ASSERT_EQ(log.RecordFile(copied, 1, true), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_TRUE(WriteBytes(copied, "new settings"));
        ASSERT_EQ(log.JournalError, static_cast<DWORD>(ERROR_SUCCESS));
        if (commit) {
            ASSERT_EQ(disk.Commit(), static_cast<DWORD>(ERROR_SUCCESS));
        }
    }

    void ExpectAsBefore()
    {
        EXPECT_EQ(ReadBytes(program), "old program");
        EXPECT_TRUE(Attributes(program) & FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(ReadBytes(copied), "old settings");
        EXPECT_FALSE(Exists(data));
        EXPECT_FALSE(Exists(s / L"app\\new"));
        EXPECT_FALSE(Exists(root)) << "the journal and its root go once undone";
    }

    ScratchFolder s;
    std::wstring root, program, data, copied;
};

TEST_F(KilledRun, IsUndoneExactlyAtTheNextStart)
{
    RunAndDie();
    const std::wstring run = OnlyRunFolder(root);
    ASSERT_FALSE(run.empty());
    EXPECT_TRUE(Exists(run + L"\\journal.bin"));
    EXPECT_EQ(ReadBytes(program), "new program");

    const RecoveryReport report = RecoverJournals(root, {});
    EXPECT_EQ(report.Outcome, RecoveryOutcome::Recovered);
    EXPECT_EQ(report.UndoneRuns, 1u);
    EXPECT_EQ(report.UndoneChanges, 5u);  // three files, two folders
    ExpectAsBefore();

    // Once more: nothing left to do, and nothing touched.
    EXPECT_EQ(RecoverJournals(root, {}).Outcome, RecoveryOutcome::Nothing);
    ExpectAsBefore();
}

TEST_F(KilledRun, ARecoveryStoppedAtEachUndoIsFinishedByTheNext)
{
    for (int stopAt = 1; stopAt <= 5; ++stopAt) {
        SCOPED_TRACE(stopAt);
        RunAndDie();
        g_undoPoints = 0;
        g_failAt = stopAt;
        const RecoveryReport stopped = RecoverJournals(root, {});
        EXPECT_EQ(stopped.Outcome, RecoveryOutcome::Refused);
        EXPECT_EQ(stopped.Error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_FALSE(OnlyRunFolder(root).empty()) << "a failed undo keeps the journal";

        g_failAt = 0;
        const RecoveryReport finished = RecoverJournals(root, {});
        EXPECT_EQ(finished.Outcome, RecoveryOutcome::Recovered);
        EXPECT_EQ(finished.UndoneChanges, static_cast<std::size_t>(5 - (stopAt - 1)));
        ExpectAsBefore();
    }
}

// Killed just before its backup was taken: the file is still in place,
// its read-only attribute already cleared for the move.
TEST_F(KilledRun, BeforeItsBackupWasTakenTheFileKeepsItsAttributes)
{
    {
        DiskJournal disk;
        ASSERT_EQ(disk.Begin(root, L"Trelvane 7"), static_cast<DWORD>(ERROR_SUCCESS));
        DWORD error = ERROR_SUCCESS;
        JournalRecord record;
        record.Kind = JournalRecordKind::PlaceFile;
        record.Target = program;
        record.Detail = 0;
        record.ExistedBefore = true;
        record.Backup = disk.BackupPathFor(program, error);
        record.PreviousAttributes = Attributes(program);
        ASSERT_EQ(disk.Append(record, true), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_TRUE(::SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_NORMAL));
    }
    EXPECT_EQ(RecoverJournals(root, {}).Outcome, RecoveryOutcome::Recovered);
    EXPECT_EQ(ReadBytes(program), "old program");
    EXPECT_TRUE(Attributes(program) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(Exists(root));
}

TEST_F(KilledRun, AfterItsCommitOnlyTheBackupsGo)
{
    RunAndDie(true);
    const RecoveryReport report = RecoverJournals(root, {});
    EXPECT_EQ(report.Outcome, RecoveryOutcome::Recovered);
    EXPECT_EQ(report.UndoneRuns, 0u);
    EXPECT_EQ(report.DiscardedRuns, 1u);
    EXPECT_EQ(ReadBytes(program), "new program");
    EXPECT_EQ(ReadBytes(data), "new data");
    EXPECT_EQ(ReadBytes(copied), "new settings");
    EXPECT_FALSE(Exists(root));
}

TEST_F(KilledRun, ADamagedJournalIsKeptAndNothingIsUndone)
{
    RunAndDie();
    const std::wstring journal = OnlyRunFolder(root) + L"\\journal.bin";
    std::string bytes = ReadBytes(journal);
    ASSERT_GT(bytes.size(), 200u);
    bytes[bytes.size() / 2] ^= 0x20;  // inside a record that others follow
    ASSERT_TRUE(WriteBytes(journal, bytes));

    for (int attempt = 0; attempt < 2; ++attempt) {
        const RecoveryReport report = RecoverJournals(root, {});
        EXPECT_EQ(report.Outcome, RecoveryOutcome::Refused);
        EXPECT_EQ(report.Path, journal);
        EXPECT_NE(report.Damage, JournalDamage::None);
        EXPECT_EQ(g_undoPoints, 0) << "not even begun";
    }
    EXPECT_EQ(ReadBytes(journal), bytes);
    EXPECT_EQ(ReadBytes(program), "new program");
    EXPECT_TRUE(IsFolder(s / L"app\\new\\deeper"));
}

TEST_F(KilledRun, ARunKilledDuringItsRollbackIsFinishedAtTheNextStart)
{
    // The rollback marks each undo; the recovery does the rest only.
    {
        UninstallLog log;
        DiskJournal disk;
        ASSERT_EQ(disk.Begin(root, L"Trelvane 7"), static_cast<DWORD>(ERROR_SUCCESS));
        log.Disk = &disk;
        ASSERT_EQ(log.RecordFile(program, 0, false), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_TRUE(WriteBytes(program, "new program"));
        ASSERT_EQ(log.RecordFile(data, 0, false), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_TRUE(WriteBytes(data, "new data"));
        // Killed once the newest entry was undone: the rest stays to do.
        log.UndoObserver = [&log](const LogEntry&) {
            if (log.NewEntries.size() == 2)  // the third undo is about to start
                throw std::runtime_error("killed");
        };
        EXPECT_THROW(log.Rollback(), std::runtime_error);
    }
    EXPECT_FALSE(Exists(data));
    EXPECT_EQ(ReadBytes(program), "new program");
    const RecoveryReport report = RecoverJournals(root, {});
    EXPECT_EQ(report.Outcome, RecoveryOutcome::Recovered);
    EXPECT_EQ(report.UndoneChanges, 2u);  // the program; the second folder was undone already
    EXPECT_EQ(ReadBytes(program), "old program");
    EXPECT_FALSE(Exists(root));
}

TEST_F(KilledRun, ACompleteRollbackLeavesNoJournal)
{
    UninstallLog log;
    DiskJournal disk;
    ASSERT_EQ(disk.Begin(root, L"Trelvane 7"), static_cast<DWORD>(ERROR_SUCCESS));
    log.Disk = &disk;
    ASSERT_EQ(log.RecordFile(program, 0, false), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_TRUE(WriteBytes(program, "new program"));
    ASSERT_EQ(log.RecordFile(data, 0, false), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(log.Rollback().empty());
    EXPECT_EQ(ReadBytes(program), "old program");
    EXPECT_FALSE(Exists(s / L"app\\new"));
    EXPECT_FALSE(Exists(root));
}

}  // namespace
}  // namespace va

#include "tests/common/host_links.h"

namespace va {
namespace {

// The file to back up may lie in a folder users can write: a link put in
// its place is refused, and neither it nor what it points to is moved.
TEST(RunBackup, ALinkInTheFilesPlaceIsRefusedNotFollowed)
{
    ScratchFolder s;
    const std::wstring target = s.File(L"elsewhere\\secret.txt", "secret");
    s.Folder(L"app");
    const std::wstring link = s / L"app\\program.exe";
    if (!test::MakeFileLink(link, target))
        GTEST_SKIP() << "no file link can be made here";
    UninstallLog log;
    DiskJournal disk;
    ASSERT_EQ(disk.Begin(s / L"Vantaro Journal", L"Trelvane 7"), static_cast<DWORD>(ERROR_SUCCESS));
    log.Disk = &disk;
    EXPECT_EQ(log.RecordFile(link, 0, false), static_cast<DWORD>(ERROR_CANT_ACCESS_FILE));
    EXPECT_TRUE(log.NewEntries.empty());
    EXPECT_TRUE(Attributes(link) & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(ReadBytes(target), "secret");
    test::RemoveFolderLink(link);
    ::DeleteFileW(link.c_str());
}

}  // namespace
}  // namespace va
