#include <gtest/gtest.h>

#include "engine/journal/uninstall_log.h"
#include "support/handles.h"
#include "tests/common/scratch_folder.h"

namespace va {
namespace {

using test::Attributes;
using test::Exists;
using test::IsFolder;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

// What the package reader does after RecordFile: write the new file.
void Place(UninstallLog& log, const std::wstring& path, std::int32_t kind, bool commit)
{
    log.RecordFile(path, kind, false);
    ASSERT_TRUE(WriteBytes(path, "new content"));
    if (commit)
        log.CommitOutcome(1);
}

TEST(Rollback, RestoresReplacedFilesAndRemovesOnlyTheEmptyFoldersItMade)
{
    ScratchFolder s;
    ASSERT_TRUE(::CreateDirectoryW((s / L"keep").c_str(), nullptr));
    const std::wstring program = s / L"keep\\app.exe";
    ASSERT_TRUE(WriteBytes(program, "old program"));
    ASSERT_TRUE(::SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_READONLY));

    UninstallLog log;
    log.PreviousEntries.emplace_back().Path = L"untouched";
    Place(log, program, 1, true);
    const std::wstring backup = log.NewEntries.back().BackupPath;
    Place(log, s / L"n1\\n2\\data.txt", 3, true);
    Place(log, s / L"n1\\other\\x.txt", 4, false);  // failed while being written
    ASSERT_TRUE(WriteBytes(s / L"n1\\foreign.txt", "not ours"));
    ASSERT_TRUE(::CreateDirectoryW((s / L"keep\\empty").c_str(), nullptr));

    log.Rollback();
    EXPECT_EQ(ReadBytes(program), "old program");
    EXPECT_EQ(Attributes(program) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_FALSE(Exists(backup));
    EXPECT_FALSE(Exists(s / L"n1\\n2"));
    EXPECT_FALSE(Exists(s / L"n1\\other"));
    EXPECT_TRUE(Exists(s / L"n1\\foreign.txt")) << "a folder still in use stays";
    EXPECT_TRUE(IsFolder(s / L"keep\\empty")) << "not made by the journal";
    EXPECT_TRUE(IsFolder(s / L"keep"));
    EXPECT_TRUE(log.NewEntries.empty());
    EXPECT_FALSE(log.AwaitingOutcome);
    EXPECT_EQ(log.PreviousEntries.size(), 1u);
}

TEST(Rollback, PutsACopiedDataFileBackAsItWas)
{
    ScratchFolder s;
    const std::wstring data = s / L"settings.cfg";
    ASSERT_TRUE(WriteBytes(data, "user data"));
    ASSERT_TRUE(::SetFileAttributesW(data.c_str(), FILE_ATTRIBUTE_HIDDEN));
    UninstallLog log;
    log.RecordFile(data, 3, true);
    log.CommitOutcome(1);  // kept in place
    const std::wstring backup = log.NewEntries.back().BackupPath;

    log.Rollback();
    EXPECT_EQ(ReadBytes(data), "user data");
    EXPECT_TRUE(Attributes(data) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(Exists(backup));
}

TEST(Rollback, DeletesAFileThatHadNoPredecessor)
{
    ScratchFolder s;
    UninstallLog log;
    Place(log, s / L"new.dll", 0, true);
    ASSERT_TRUE(::SetFileAttributesW((s / L"new.dll").c_str(), FILE_ATTRIBUTE_READONLY));
    log.Rollback();
    EXPECT_FALSE(Exists(s / L"new.dll"));
}

TEST(Rollback, BringsThePreviousShortcutBackToItsOwnPlace)
{
    enum class Made { SamePlace, Elsewhere, Failed };
    for (Made made : {Made::SamePlace, Made::Elsewhere, Made::Failed}) {
        SCOPED_TRACE(static_cast<int>(made));
        ScratchFolder s;
        ASSERT_TRUE(::CreateDirectoryW((s / L"Old").c_str(), nullptr));
        const std::wstring old = s / L"Old\\Trelvane 7.08f.lnk";
        ASSERT_TRUE(WriteBytes(old, "previous link"));
        UninstallLog log;
        log.PreviousEntries.emplace_back();
        log.PreviousEntries.back().Type = ProgramShortcut;
        log.PreviousEntries.back().Path = old;
        log.PreviousEntries.back().Outcome = 1;

        // Only a link in this run's own folder is moved; "Elsewhere" is the
        // new link under another name beside it.
        const std::wstring folder = s / L"Old";
        log.RecordShortcut(0, folder);
        ASSERT_FALSE(Exists(old));
        const std::wstring link = made == Made::SamePlace ? old : folder + L"\\Trelvane 7.08g.lnk";
        if (made == Made::Failed) {
            log.CommitOutcome(0);
        } else {
            ASSERT_TRUE(WriteBytes(link, "new link"));
            log.CommitOutcome(1, &link);
        }

        log.Rollback();
        EXPECT_EQ(ReadBytes(old), "previous link");
        if (made != Made::SamePlace) {
            EXPECT_FALSE(Exists(link));
        }
    }
}

TEST(Rollback, WithNothingRecordedDoesNothing)
{
    UninstallLog log;
    EXPECT_TRUE(log.Rollback().empty());
    EXPECT_TRUE(log.Rollback().empty());
    EXPECT_TRUE(log.NewEntries.empty());
}

// A file the rollback cannot put back is reported with its backup, which is
// kept; everything else is still undone and reports nothing.
TEST(Rollback, ReportsWhatItCouldNotPutBackAndKeepsItsBackup)
{
    ScratchFolder s;
    const std::wstring held = s / L"held.dll";
    const std::wstring other = s / L"other.dll";
    ASSERT_TRUE(WriteBytes(held, "old held"));
    ASSERT_TRUE(WriteBytes(other, "old other"));
    UninstallLog log;
    Place(log, other, 0, true);
    Place(log, held, 0, true);
    Place(log, s / L"new.dll", 0, true);
    const std::wstring backup = log.NewEntries.back() .BackupPath;
    const std::wstring heldBackup = std::next(log.NewEntries.rbegin())->BackupPath;

    std::vector<RollbackFailure> failures;
    {
        // Another program has the new file open and lets nobody delete it.
        UniqueFile user(::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(user);
        failures = log.Rollback();
    }
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Type, InstalledFile);
    EXPECT_EQ(failures[0].Path, held);
    EXPECT_EQ(failures[0].BackupPath, heldBackup);
    EXPECT_NE(failures[0].Error, DWORD{ERROR_SUCCESS});
    EXPECT_EQ(ReadBytes(heldBackup), "old held") << "the only copy of the old file is kept";
    EXPECT_EQ(ReadBytes(other), "old other");
    EXPECT_FALSE(Exists(s / L"new.dll"));
    EXPECT_TRUE(backup.empty());
    ::DeleteFileW(heldBackup.c_str());
}

}  // namespace
}  // namespace va
