#include <gtest/gtest.h>

#include "support/core/exit_codes.h"
#include "uninstaller/core/step_results.h"

namespace va::uninstall {
namespace {

StepResult Made(StepKind kind, std::wstring path, Outcome outcome, Reason reason, std::size_t index,
                std::int32_t type = InstalledFile)
{
    StepResult r;
    r.step.kind = kind;
    r.step.path = path;
    r.step.entry.Type = type;
    r.step.entry.Path = path;
    r.step.entry.Outcome = 1;
    r.step.index = index;
    r.outcome = outcome;
    r.reason = reason;
    return r;
}

TEST(StepResults, TheExitCodeSaysFailedBeforeRestartBeforeDone)
{
    const struct {
        std::vector<Outcome> outcomes;
        int exitCode;
    } cases[] = {
        {{}, exit_code::kSuccess},
        {{Outcome::Removed, Outcome::AlreadyGone, Outcome::Kept, Outcome::Deferred}, exit_code::kSuccess},
        {{Outcome::Removed, Outcome::Scheduled}, exit_code::kRestartNeeded},
        {{Outcome::Scheduled, Outcome::Failed}, exit_code::kFailed},
    };
    for (const auto& c : cases) {
        std::vector<StepResult> results;
        for (Outcome o : c.outcomes)
            results.push_back(Made(StepKind::DeleteFile, L"C:\\x", o, Reason::None, 0));
        EXPECT_EQ(ExitCodeOf(Summarize(results)), c.exitCode);
    }
    EXPECT_EQ(exit_code::kRestartNeeded, 3010);
}

TEST(StepResults, ASummaryCountsEveryItemOnce)
{
    const std::vector<StepResult> results = {
        Made(StepKind::DeleteFile, L"a", Outcome::Removed, Reason::None, 0),
        Made(StepKind::DeleteFile, L"b", Outcome::AlreadyGone, Reason::None, 1),
        Made(StepKind::DeleteFile, L"c", Outcome::Scheduled, Reason::InUse, 2),
        Made(StepKind::KeepDataFile, L"d", Outcome::Kept, Reason::DataFile, 3),
        Made(StepKind::LeaveToCopy, L"e", Outcome::Deferred, Reason::None, 4),
        Made(StepKind::DeleteFile, L"f", Outcome::Failed, Reason::Error, 5),
    };
    const Summary s = Summarize(results);
    EXPECT_EQ(s.items, 6u);
    EXPECT_EQ(s.removed, 2u);
    EXPECT_EQ(s.scheduled, 1u);
    EXPECT_EQ(s.kept, 1u);
    EXPECT_EQ(s.deferred, 1u);
    EXPECT_EQ(s.failed, 1u);
}

TEST(StepResults, ARewrittenLogKeepsWhatASecondRunMustFinishInTheLogsOrder)
{
    const std::vector<StepResult> results = {
        Made(StepKind::UnregisterFileTypes, L"C:\\T\\Trelvane.exe", Outcome::Failed, Reason::Error, 9, FileTypes),
        Made(StepKind::DeleteFile, L"C:\\T\\gone.dll", Outcome::Removed, Reason::None, 5),
        Made(StepKind::DeleteFile, L"C:\\T\\locked.dll", Outcome::Failed, Reason::Error, 4),
        Made(StepKind::DeleteFile, L"C:\\T\\Trelvane.exe", Outcome::Kept, Reason::Unfinished, 3),
        Made(StepKind::LeaveToCopy, L"C:\\T\\Uninstall.exe", Outcome::Deferred, Reason::None, 2),
        Made(StepKind::DeleteFile, L"C:\\T\\restart.dll", Outcome::Scheduled, Reason::InUse, 6),
        Made(StepKind::KeepDataFile, L"C:\\D\\mine.tv-lib", Outcome::Kept, Reason::DataFile, 7),
        Made(StepKind::LeaveOutside, L"C:\\Windows\\x.dll", Outcome::Kept, Reason::OutsideProduct, 8),
        Made(StepKind::RemoveFolder, L"C:\\T", Outcome::Kept, Reason::NotEmpty, 1, CreatedFolder),
        Made(StepKind::RemoveFolder, L"C:\\D", Outcome::Removed, Reason::None, 0, CreatedFolder),
        Made(StepKind::RemoveProductKeys, L"", Outcome::Kept, Reason::Unfinished, 10, UninstallKey),
    };
    std::vector<std::wstring> paths;
    std::vector<std::int32_t> types;
    for (const LogEntry& e : EntriesLeft(results)) {
        paths.push_back(e.Path);
        types.push_back(e.Type);
    }
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\T", L"C:\\T\\Uninstall.exe", L"C:\\T\\Trelvane.exe",
                                                L"C:\\T\\locked.dll", L"C:\\T\\Trelvane.exe", L""}));
    EXPECT_EQ(types.back(), UninstallKey);
    EXPECT_EQ(types[4], FileTypes);
}

TEST(StepResults, FileTypesWhoseProgramIsGoneAreNotAskedForAgain)
{
    const std::vector<StepResult> results = {
        Made(StepKind::UnregisterFileTypes, L"", Outcome::Kept, Reason::ProgramMissing, 3, FileTypes),
    };
    EXPECT_TRUE(EntriesLeft(results).empty());
}

}  // namespace
}  // namespace va::uninstall
