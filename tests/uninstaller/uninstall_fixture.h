#pragma once
// What the uninstaller's tests share: a machine without the product, its
// snapshot, and running the installed uninstaller to the end of its copy.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/job.h"
#include "tests/driver/machine_snapshot.h"
#include "tests/uninstaller/demo_installation.h"

namespace va::test {

// Every program start costs much under an emulated Wine: the waits for the
// uninstaller, its copy and its windows are generous (they are never what
// is tested).
inline constexpr DWORD kUninstallLimitMs = 20 * 60 * 1000;

class UninstallTest : public testing::Test {
protected:
    void SetUp() override
    {
        RemoveDemoTraces();
        before_ = MachineSnapshot::Take();
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        runLog_ = std::wstring(temp) + L"uninstaller_test_run.log";
        ::DeleteFileW(runLog_.c_str());
    }
    void TearDown() override
    {
        RemoveDemoTraces();
        ::DeleteFileW(runLog_.c_str());
    }

    // Runs "<installation>\Uninstall.exe" with `arguments` and waits for it
    // and for the copy it starts; the original's exit code.
    DWORD RunUninstaller(const DemoInstallation& d, const std::wstring& arguments)
    {
        ProcessGroup group(d.uninstaller, arguments);
        const DWORD code = group.WaitForFirst(kUninstallLimitMs);
        EXPECT_TRUE(group.WaitForAll(kUninstallLimitMs)) << "the uninstaller's copy did not end";
        return code;
    }
    DWORD RunQuietly(const DemoInstallation& d, const std::wstring& more = {})
    {
        return RunUninstaller(d, L"/quiet /log=\"" + runLog_ + L"\"" + (more.empty() ? L"" : L" " + more));
    }

    // The text log of the last run, as one text.
    std::string RunLogText() const
    {
        std::string text;
        HANDLE file = ::CreateFileW(runLog_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return text;
        char chunk[4096];
        DWORD got = 0;
        while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
            text.append(chunk, got);
        ::CloseHandle(file);
        return text;
    }

    // Everything that changed since SetUp but `expected`.
    std::vector<std::wstring> ChangesSinceStart(const std::vector<std::wstring>& expected = {}) const
    {
        return Differences(before_, MachineSnapshot::Take(), expected);
    }

    MachineSnapshot before_;
    std::wstring runLog_;
};

}  // namespace va::test
