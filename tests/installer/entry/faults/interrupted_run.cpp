// A killed installer: the fault flavour stops in the middle of the
// extraction of an update and is killed there, as a power cut or the task
// manager would end it.  This records what is left, then checks that the
// next start undoes it from the journal on disk (the machine then equals the
// one before the killed run) and that the quiet run that follows succeeds.

#include <cstdio>
#include <set>

#include "support/handles.h"
#include "tests/installer/entry/faults/point_sweep.h"
#include "tests/installer/entry/faults/sweep_support.h"
#include "tests/common/standins.h"

namespace va::test {
namespace {

std::wstring TemporaryFolder()
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    return temp;
}

std::set<std::wstring> TemporaryNames()
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((TemporaryFolder() + L"*").c_str(), &found));
    if (find) {
        do
            names.insert(found.cFileName);
        while (::FindNextFileW(find.get(), &found));
    }
    return names;
}

void RemoveLeftover(const std::wstring& path)
{
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (::DeleteFileW(path.c_str()))
        return;
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &found));
    if (find) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                RemoveLeftover(path + L"\\" + name);
        } while (::FindNextFileW(find.get(), &found));
    }
    find.reset();
    ::RemoveDirectoryW(path.c_str());
}

// A quiet run of the flavour held at point `pauseAt`, then killed hard.
bool KillAt(const SweepOptions& options, const std::wstring& report, unsigned long pauseAt)
{
    ::DeleteFileW(report.c_str());
    ::SetEnvironmentVariableW(L"TRELVANE_FAULT_POINT", nullptr);
    ::SetEnvironmentVariableW(L"TRELVANE_FAULT_PAUSE", std::to_wstring(pauseAt).c_str());
    ::SetEnvironmentVariableW(L"TRELVANE_FAULT_REPORT", report.c_str());
    std::wstring line = Quoted(options.flavour) + L" /quiet";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("interrupted run: the flavour does not start\n");
        return false;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    bool paused = false;
    // Generous: an emulated Wine may take minutes; never a measure of speed.
    for (int waited = 0; !paused && waited < 10 * 60 * 1000; waited += 50) {
        for (const PointLine& point : ReadReport(report))
            paused = paused || point.what == "paused";
        if (!paused && ::WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            break;
    }
    ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::SetEnvironmentVariableW(L"TRELVANE_FAULT_PAUSE", nullptr);
    ::SetEnvironmentVariableW(L"TRELVANE_FAULT_REPORT", nullptr);
    if (!paused)
        std::printf("interrupted run: the flavour never reached point %lu\n", pauseAt);
    return paused;
}

}  // namespace

int RecordInterruptedRun(const SweepOptions& options)
{
    const std::wstring report = ScratchFolder() + L"\\killed.txt";
    PrepareMachine(Scenario::Update);
    FaultSettings counting;
    counting.report = report;
    RunQuiet(options.flavour, counting);
    // The second file written: one is in place, the next one is open.
    unsigned long pauseAt = 0;
    std::string operation;
    int writes = 0;
    for (const PointLine& line : ReadReport(report))
        if (line.operation == "write file" && ++writes == 2) {
            pauseAt = line.number;
            operation = line.operation;
            break;
        }
    if (pauseAt == 0) {
        std::printf("interrupted run: the update writes fewer than two files\n");
        return 1;
    }

    PrepareMachine(Scenario::Update);
    const std::set<std::wstring> tempBefore = TemporaryNames();
    const Machine before = TakeMachine();
    if (!KillAt(options, report, pauseAt))
        return 1;

    const std::vector<std::wstring> left = Compare(before, TakeMachine(), true);
    std::vector<std::wstring> temporary;
    for (const std::wstring& name : TemporaryNames())
        if (!tempBefore.count(name))
            temporary.push_back(name);
    std::printf("interrupted run: an update killed at point %lu (%s, the second file): %zu differences, %zu new "
                "entries in the temporary folder\n",
                pauseAt, operation.c_str(), left.size(), temporary.size());
    for (const std::wstring& l : left)
        std::printf("      %s\n", Narrow(l).c_str());
    for (const std::wstring& name : temporary)
        std::printf("      temporary: %s\n", Narrow(name).c_str());

    // The next start undoes it before anything else: the flavour can stop
    // right there.
    int failures = 0;
    ::SetEnvironmentVariableW(L"TRELVANE_STOP_AFTER_RECOVERY", L"1");
    const RunResult recovery = RunQuiet(options.flavour);
    ::SetEnvironmentVariableW(L"TRELVANE_STOP_AFTER_RECOVERY", nullptr);
    const std::vector<std::wstring> afterRecovery = Compare(before, TakeMachine(), true);
    std::printf("interrupted run: the next start recovers it (exit code %lu): %zu differences from the machine "
                "before the killed run\n",
                recovery.exitCode, afterRecovery.size());
    for (const std::wstring& l : afterRecovery)
        std::printf("      %s\n", Narrow(l).c_str());
    if (recovery.exitCode != 0 || !afterRecovery.empty())
        ++failures;

    // Killed again, then a whole quiet run: it recovers, says so in its log,
    // and ends as if nothing had happened.
    PrepareMachine(Scenario::Update);
    if (!KillAt(options, report, pauseAt))
        return failures + 1;
    const RunResult again = RunQuiet(options.shipped);
    const bool logged = again.log.find("changes undone") != std::string::npos;
    std::printf("interrupted run: the next quiet run of the installer ends with %lu, %s\n", again.exitCode,
                logged ? "its log tells the recovery" : "its log does not tell the recovery");
    if (again.exitCode != 0 || !logged)
        ++failures;
    for (const std::wstring& name : temporary)
        RemoveLeftover(TemporaryFolder() + name);
    CleanMachine();
    return failures;
}

}  // namespace va::test
