// A killed installer: the fault flavour stops in the middle of the
// extraction of an update and is killed there, as a power cut or the task
// manager would end it.  This records what the kill leaves, and what the
// next quiet run of the shipped installer makes of it: it finds the killed
// run's journal, undoes it before its own run, and so should end as a
// faultless update would, with nothing of the killed run left in the
// temporary folder.  Measured, not judged: the kill sweep judges every
// point.

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

    // What the next run makes of the remains: its recovery first, then an
    // update of its own.
    const RunResult again = RunQuiet(options.shipped);
    const std::vector<std::wstring> finished = Compare(faultless, TakeMachine(), false);
    const std::set<std::wstring> tempAfter = TemporaryEntries();
    std::vector<std::wstring> kept;
    for (const std::wstring& name : temporary)
        if (tempAfter.count(name))
            kept.push_back(name);
    std::printf("interrupted run: the next quiet run of the installer ends with %lu: %zu differences from a "
                "faultless update, %zu of the killed run's temporary entries left\n",
                again.exitCode, finished.size(), kept.size());
    for (const std::wstring& l : finished)
        std::printf("      %s\n", Narrow(l).c_str());
    for (const std::wstring& name : kept)
        std::printf("      temporary: %s\n", Narrow(name).c_str());
    for (const std::wstring& name : TemporaryEntries())
        if (!tempBefore.count(name))
            RemoveTemporaryEntry(name);
    CleanMachine();
    return 0;
}

}  // namespace va::test
