#pragma once
// What the unattended installer's tests share: a machine without the
// product, the real installer run with switches while every window of it is
// watched, its text log, and the product's areas of the machine.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/file_bytes.h"
#include "tests/installer/startup_fixture.h"
#include "support/utf8_text.h"
#include "tests/driver/driver.h"
#include "tests/driver/machine_snapshot.h"
#include "tests/uninstaller/demo_installation.h"

namespace va::test {

// An installation under an emulated Wine takes minutes: generous, never tested.
inline constexpr DWORD kInstallLimitMs = 20 * 60 * 1000;

struct WatchedRun {
    DWORD exitCode = STILL_ACTIVE;
    std::vector<std::wstring> visibleWindows;  // titles of every window of the process seen visible
};

struct WindowSearch {
    DWORD id;
    std::vector<std::wstring>* seen;
};

inline BOOL CALLBACK NoteVisibleWindow(HWND window, LPARAM data)
{
    auto* s = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == s->id && ::IsWindowVisible(window))
        s->seen->push_back(L"[" + ClassName(window) + L"] " + WindowText(window));
    return TRUE;
}

// Runs `program` with `arguments` to its end, looking for visible windows
// of it all the while.
inline WatchedRun RunWatched(const std::wstring& program, const std::wstring& arguments)
{
    WatchedRun run;
    Process process = StartProgram(program, arguments);
    WindowSearch search{process.id, &run.visibleWindows};
    for (DWORD waited = 0; waited < kInstallLimitMs; waited += 20) {
        ::EnumWindows(NoteVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (::WaitForSingleObject(process.handle.get(), 20) == WAIT_OBJECT_0)
            break;
    }
    ::GetExitCodeProcess(process.handle.get(), &run.exitCode);
    return run;
}

class UnattendedTest : public ProductKeysCleared {
protected:
    void SetUp() override
    {
        ProductKeysCleared::SetUp();
        RemoveDemoTraces();
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        runLog_ = std::wstring(temp) + L"unattended_test_run.log";
        ::DeleteFileW(runLog_.c_str());
    }
    void TearDown() override
    {
        RemoveDemoTraces();
        ::DeleteFileW(runLog_.c_str());
        ProductKeysCleared::TearDown();
    }

    static bool HaveDisplay()
    {
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe)
            ::DestroyWindow(probe);
        return probe != nullptr;
    }

    // The installer with "/quiet /log=<runLog_>" and `more`.
    WatchedRun RunQuiet(const std::wstring& more = {}, const std::wstring& program = InstallerProgram())
    {
        return RunWatched(program, L"/quiet /log=\"" + runLog_ + L"\"" + (more.empty() ? L"" : L" " + more));
    }
    std::string RunLogText() const { return FileBytes(runLog_); }

    std::wstring runLog_;
};

// The product's areas: the maker's folders, the common desktop (the
// shortcut and the samples), its registry trees.  The user's own desktop is
// left out: on a test machine it may be a link to anything.
inline SnapshotScope ProductScope()
{
    const DemoInstallation d = DemoLayout();
    auto parent = [](const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); };
    SnapshotScope scope;
    scope.folders = {parent(d.installFolder), parent(d.startMenuFolder), parent(d.dataFolder),
                     parent(d.userDataFolder), parent(d.samplesFolder)};
    scope.registry = ProductRegistryTrees();
    return scope;
}

}  // namespace va::test
