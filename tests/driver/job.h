#pragma once
// Jobs that hold the programs a test starts, with everything those start in
// turn (a program that relaunches a copy of itself, for instance), so that
// nothing a test leaves running outlives it.

#include <windows.h>

#include <string>

#include "tests/driver/driver.h"

namespace va::test {

// A kill-on-close job.  Every program StartProgram starts while this is the
// newest job alive joins it; without one, programs join a job of the whole
// test program, which ends them when the test program ends.  The owner's end
// ends what is left of its programs and waits until they are gone.
class ProgramJob {
public:
    ProgramJob();
    ~ProgramJob();
    ProgramJob(const ProgramJob&) = delete;
    ProgramJob& operator=(const ProgramJob&) = delete;

    // Processes of the job still running.
    DWORD Running() const;
    // Whether every process of the job ended before the limit.
    bool WaitForAll(DWORD limitMs = kDefaultLimitMs) const;

private:
    UniqueHandle job_;
};

// The job StartProgram puts a new program in.
HANDLE CurrentProgramJob();

class ProcessGroup {
public:
    // Starts `program` (quoted) with `arguments` inside a job of its own.
    // Raises std::system_error when it cannot be started.
    ProcessGroup(const std::wstring& program, const std::wstring& arguments = {});
    ProcessGroup(const ProcessGroup&) = delete;
    ProcessGroup& operator=(const ProcessGroup&) = delete;

    // The first program, for the window driver.
    const Process& First() const { return first_; }
    // Its exit code, or STILL_ACTIVE when it outlived the limit.
    DWORD WaitForFirst(DWORD limitMs = kDefaultLimitMs) const { return WaitForExit(first_, limitMs); }
    // Whether every process of the group ended before the limit.
    bool WaitForAll(DWORD limitMs = kDefaultLimitMs) const { return job_.WaitForAll(limitMs); }
    // Processes of the group still running.
    DWORD Running() const { return job_.Running(); }

private:
    ProgramJob job_;
    Process first_;
};

}  // namespace va::test
