// A killed installer: the fault flavour stops in the middle of the
// extraction of an update and is killed there, as a power cut or the task
// manager would end it.  This records what the kill leaves, then checks that
// the next start undoes it from the journal on disk (the machine then equals
// the one before the killed run, nothing of it left in the temporary
// folder), and that the next quiet run of the shipped installer, killed
// after the same point, recovers, says so in its log and ends as a faultless
// update would.  The kill sweep judges every point.

#include <cstdio>
#include <set>

#include "tests/installer/entry/faults/point_sweep.h"
#include "tests/installer/entry/faults/sweep_support.h"

namespace va::test {

int RecordInterruptedRun(const SweepOptions& options)
{
    const std::wstring report = ScratchFolder() + L"\\killed.txt";
    PrepareMachine(Scenario::Update);
    FaultSettings counting;
    counting.report = report;
    RunQuiet(options.flavour, counting);
    const Machine faultless = TakeMachine();
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
    const std::set<std::wstring> tempBefore = TemporaryEntries();
    const Machine before = TakeMachine();
    FaultSettings held;
    held.pauseAt = pauseAt;
    held.report = report;
    if (!RunKilled(options.flavour, held)) {
        std::printf("interrupted run: the flavour never reached point %lu\n", pauseAt);
        return 1;
    }

    const std::vector<std::wstring> left = Compare(before, TakeMachine(), true);
    std::vector<std::wstring> temporary;
    for (const std::wstring& name : TemporaryEntries())
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
    FaultSettings stop;
    stop.stopAfterRecovery = true;
    const RunResult recovery = RunQuiet(options.flavour, stop);
    const std::vector<std::wstring> afterRecovery = Compare(before, TakeMachine(), true);
    std::printf("interrupted run: the next start recovers it (exit code %lu): %zu differences from the machine "
                "before the killed run\n",
                recovery.exitCode, afterRecovery.size());
    for (const std::wstring& l : afterRecovery)
        std::printf("      %s\n", Narrow(l).c_str());
    if (recovery.exitCode != 0 || !afterRecovery.empty())
        ++failures;

    // Killed again, then a whole quiet run: its recovery first, then an
    // update of its own.
    PrepareMachine(Scenario::Update);
    if (!RunKilled(options.flavour, held)) {
        std::printf("interrupted run: the flavour never reached point %lu\n", pauseAt);
        return failures + 1;
    }
    const RunResult again = RunQuiet(options.shipped);
    const bool logged = again.log.find("changes undone") != std::string::npos;
    const std::vector<std::wstring> finished = Compare(faultless, TakeMachine(), false);
    const std::set<std::wstring> tempAfter = TemporaryEntries();
    std::vector<std::wstring> kept;
    for (const std::wstring& name : temporary)
        if (tempAfter.count(name))
            kept.push_back(name);
    std::printf("interrupted run: the next quiet run of the installer ends with %lu: %zu differences from a "
                "faultless update, %zu of the killed run's temporary entries left, %s\n",
                again.exitCode, finished.size(), kept.size(),
                logged ? "its log tells the recovery" : "its log does not tell the recovery");
    for (const std::wstring& l : finished)
        std::printf("      %s\n", Narrow(l).c_str());
    for (const std::wstring& name : kept)
        std::printf("      temporary: %s\n", Narrow(name).c_str());
    if (again.exitCode != 0 || !logged || !finished.empty() || !kept.empty())
        ++failures;
    for (const std::wstring& name : TemporaryEntries())
        if (!tempBefore.count(name))
            RemoveTemporaryEntry(name);
    CleanMachine();
    return failures;
}

}  // namespace va::test
