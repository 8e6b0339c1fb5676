#pragma once
// Runs a program together with every process it starts (a program that
// relaunches a copy of itself, for instance) and waits until all of them
// have ended.

#include <windows.h>

#include <optional>
#include <string>

#include "tests/driver/driver.h"

namespace va::test {

class ProcessGroup {
public:
    // Starts `program` (quoted) with `arguments` inside a job of its own.
    // Raises std::system_error when it cannot be started.
    ProcessGroup(const std::wstring& program, const std::wstring& arguments = {});
    ~ProcessGroup();
    ProcessGroup(const ProcessGroup&) = delete;
    ProcessGroup& operator=(const ProcessGroup&) = delete;

    // The first program, for the window driver.
    const Process& First() const { return first_; }
    // Its exit code, or STILL_ACTIVE when it outlived the limit.
    DWORD WaitForFirst(DWORD limitMs = kDefaultLimitMs) const { return WaitForExit(first_, limitMs); }
    // Whether every process of the group ended before the limit.
    bool WaitForAll(DWORD limitMs = kDefaultLimitMs) const;
    // Processes of the group still running.
    DWORD Running() const;

private:
    UniqueHandle job_;
    Process first_;
};

}  // namespace va::test
