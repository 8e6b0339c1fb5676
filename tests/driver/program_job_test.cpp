// What a test starts ends with the job that holds it.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/common/standins.h"
#include "tests/driver/job.h"

namespace va::test {
namespace {

bool InJob(const Process& process, HANDLE job)
{
    BOOL inJob = FALSE;
    return ::IsProcessInJob(process.handle.get(), job, &inJob) && inJob;
}

// The stand-in product keeps its window open until it is told to end.
TEST(ProgramJob, EndsWhatItsProgramsLeftRunningAndHandsBackToTheOuterJob)
{
    const HANDLE outer = CurrentProgramJob();
    Process left;
    {
        ProgramJob job;
        ASSERT_NE(CurrentProgramJob(), outer);
        left = StartProgram(StandinPath(L"Trelvane.exe"));
        EXPECT_TRUE(InJob(left, CurrentProgramJob()));
        ASSERT_EQ(WaitForExit(left, 0), STILL_ACTIVE);
    }
    EXPECT_NE(WaitForExit(left, 0), DWORD(STILL_ACTIVE)) << "the job's end left its program running";
    EXPECT_EQ(CurrentProgramJob(), outer);
}

TEST(ProgramJob, WithoutOneProgramsJoinTheTestProgramsJob)
{
    Process started = StartProgram(StandinPath(L"Trelvane.exe"));
    EXPECT_TRUE(InJob(started, CurrentProgramJob()));
    ::TerminateJobObject(CurrentProgramJob(), 0);
    EXPECT_NE(WaitForExit(started), DWORD(STILL_ACTIVE));
}

}  // namespace
}  // namespace va::test
