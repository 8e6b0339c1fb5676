// Every fault point of three scenarios: a run of the fault flavour counts
// the points, then one run per point makes that point fail and the machine
// is compared with its state before the run.  A fault in the extraction, in
// the program-path value or in the uninstall log must give the "failed"
// exit code and the machine as it was; a fault in a later step must give success, that step's
// line "Failed", and no difference from a faultless installation but that
// step's own.

#include "tests/installer/entry/faults/point_sweep.h"

#include <cstdio>
#include <algorithm>
#include <functional>
#include <vector>

#include "support/core/exit_codes.h"
#include "tests/installer/entry/faults/sweep_support.h"

namespace va::test {
namespace {

struct Expectation {
    bool rollback = false;
    // The run log's failed step ("" for none: the step has no line).
    std::string failedLine;
    // Differences from a faultless installation that the failure explains.
    std::function<bool(const std::wstring&)> explained;
    // At least one of them must show: the failed step left its trace.
    bool showsItself = true;
};

bool Is(const std::string& operation, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (operation == name)
            return true;
    return false;
}

// What a fault at `operation` must do; `extraction` when the point comes
// before the first step after the extraction.
Expectation Expect(const std::string& operation, bool extraction)
{
    Expectation e;
    // A file keeps working for its owner without the Users group's rights:
    // the grant's failure is passed over, wherever it happens.
    if (Is(operation, {"grant Users access"})) {
        e.explained = [](const std::wstring&) { return false; };
        e.showsItself = false;
        return e;
    }
    // Without its log the installation could not be removed: a log that
    // cannot be written fails the run like the program-path value.
    if (extraction || Is(operation, {"create maker key", "write program path", "write log"})) {
        e.rollback = true;
        return e;
    }
    // The log records every step's outcome: it differs whenever one failed.
    auto log = [](const std::wstring& line) { return Contains(line, L"\\Uninstall.ulog"); };
    if (Is(operation, {"set attributes"})) {
        e.explained = [log](const std::wstring& line) {
            return log(line) || (line[0] == L'~' && (Contains(line, L"\\Trelvane.exe (") ||
                                                     Contains(line, L"\\Uninstall.exe (")));
        };
    } else if (Is(operation, {"back up file"})) {
        // The previous installation's shortcut stays where it is, and the new
        // one takes its place: the step goes on.
        e.explained = [log](const std::wstring& line) { return log(line) || Contains(line, L".lnk"); };
        e.showsItself = false;
    } else if (Is(operation, {"create folder", "save shortcut"})) {
        e.failedLine = "Shortcuts Creation...Failed";
        e.explained = [log](const std::wstring& line) {
            return log(line) || Contains(line, L".lnk") || Contains(line, L"\\Start Menu\\");
        };
    } else if (Is(operation, {"run DirectX set-up"})) {
        e.failedLine = "DirectX...Failed";
        e.explained = log;
    } else if (Is(operation, {"create uninstall key", "write uninstall value", "save registry key"})) {
        e.failedLine = "Registry Data Writing...Failed";
        e.explained = [log](const std::wstring& line) {
            return log(line) || Contains(line, L"\\Uninstall\\Trelvane 7");
        };
    } else if (Is(operation, {"start registration"})) {
        e.failedLine = "Registry Data Writing...Failed";
        e.explained = [log](const std::wstring& line) { return log(line) || line.compare(2, 5, L"HKCR\\") == 0; };
    } else {
        e.explained = [](const std::wstring&) { return false; };
        e.failedLine = "?";  // a point this sweep does not know: never as documented
    }
    return e;
}

bool UnderUninstallKey(const std::wstring& line) { return Contains(line, L"\\Uninstall\\Trelvane 7"); }

struct Totals {
    int exact = 0;
    int differ = 0;
    int limits = 0;
    std::vector<std::string> limitLines;
};

void PrintLines(const std::vector<std::wstring>& lines)
{
    for (const std::wstring& line : lines)
        std::printf("      %s\n", Narrow(line).c_str());
}

// The points of one scenario; false when the faultless run itself failed.
bool SweepScenario(Scenario scenario, const SweepOptions& options, bool restoreWorks, std::size_t& points,
                   Totals& totals)
{
    const char* name = ScenarioName(scenario);
    const std::wstring report = ScratchFolder() + L"\\points.txt";

    PrepareMachine(scenario);
    FaultSettings counting;
    counting.report = report;
    const RunResult clean = RunQuiet(options.flavour, counting);
    const std::vector<PointLine> all = ReadReport(report);
    if (clean.exitCode != static_cast<DWORD>(exit_code::kSuccess) || clean.log.find("Failed") != std::string::npos) {
        std::printf("fault sweep: %s: the run without a fault ended with %lu:\n%s\n", name, clean.exitCode,
                    clean.log.c_str());
        ++totals.differ;
        return false;
    }
    const Machine reference = TakeMachine();
    points = all.size();
    std::size_t firstLater = all.size();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].operation == "set attributes") {
            firstLater = i;
            break;
        }

    // A run that put everything back leaves the machine as the next point
    // needs it: it is prepared again only after a run that changed it.
    bool prepared = false;
    Machine before;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const unsigned long n = static_cast<unsigned long>(i + 1);
        const DWORD t0 = ::GetTickCount();
        if (!prepared) {
            PrepareMachine(scenario);
            before = TakeMachine();
        }
        const DWORD t1 = ::GetTickCount();
        const DWORD t2 = t1;
        FaultSettings faults;
        faults.failAt = n;
        faults.report = report;
        const RunResult run = RunQuiet(options.flavour, faults);
        const DWORD t3 = ::GetTickCount();
        const Machine after = TakeMachine();
        const DWORD t4 = ::GetTickCount();

        std::string operation = all[i].operation;
        bool reached = false;
        for (const PointLine& line : ReadReport(report))
            if (line.number == n && line.what == "failed") {
                reached = true;
                operation = line.operation;
            }
        const Expectation e = Expect(operation, i < firstLater);
        std::vector<std::string> problems;
        std::vector<std::wstring> left;
        if (!reached)
            problems.push_back("the point was not reached");
        if (e.rollback) {
            if (run.exitCode != static_cast<DWORD>(exit_code::kFailed))
                problems.push_back("exit code " + std::to_string(run.exitCode) + ", not 1603");
            if (run.log.find("Installation failed (Error Code ") == std::string::npos)
                problems.push_back("the log names no failure");
            left = Compare(before, after, true);
        } else {
            if (run.exitCode != static_cast<DWORD>(exit_code::kSuccess))
                problems.push_back("exit code " + std::to_string(run.exitCode) + ", not 0");
            if (e.failedLine.empty() ? run.log.find("Failed") != std::string::npos
                                     : run.log.find(e.failedLine) == std::string::npos)
                problems.push_back(e.failedLine.empty() ? "a step says Failed"
                                                        : "no line \"" + e.failedLine + "\"");
            bool shown = false;
            for (const std::wstring& line : Compare(reference, after, false)) {
                if (!e.explained(line))
                    left.push_back(line);
                else
                    shown = true;
            }
            if (e.showsItself && !shown)
                problems.push_back("the failed step changed nothing");
        }

        prepared = e.rollback && left.empty();
        const bool limit = problems.empty() && !left.empty() && e.rollback && !restoreWorks &&
                           scenario != Scenario::Fresh &&
                           std::all_of(left.begin(), left.end(), UnderUninstallKey);
        char head[200];
        std::snprintf(head, sizeof head, "%s point %lu (%s)", name, n, operation.c_str());
        if (limit) {
            ++totals.limits;
            totals.limitLines.push_back(std::string(head) +
                                        ": the uninstall key keeps this run's values, RegRestoreKeyW does "
                                        "not put a saved key back on this platform");
            if (options.verbose)
                PrintLines(left);
        } else if (problems.empty() && left.empty()) {
            ++totals.exact;
            if (options.verbose)
                std::printf("  %s: as documented (prepare %lu ms, snapshot %lu ms, run %lu ms)\n", head, t1 - t0,
                            t4 - t3, t3 - t2);
        } else {
            ++totals.differ;
            std::printf("  DIFFERS %s:", head);
            for (const std::string& p : problems)
                std::printf(" %s;", p.c_str());
            std::printf("\n");
            PrintLines(left);
            if (!problems.empty())
                std::printf("%s\n", run.log.c_str());
        }
        std::fflush(stdout);
    }
    return true;
}

}  // namespace

int SweepFaultPoints(const SweepOptions& options)
{
    const bool restoreWorks = RegistryRestoreWorks();
    Totals totals;
    std::string counts;
    for (Scenario scenario : {Scenario::Fresh, Scenario::Update, Scenario::Reinstall}) {
        std::size_t points = 0;
        SweepScenario(scenario, options, restoreWorks, points, totals);
        counts += (counts.empty() ? "" : "/") + std::to_string(points);
    }
    CleanMachine();
    std::printf("fault sweep: %s points \xC3\x97 3 scenarios (fresh/update/reinstall), %d restored exactly, %d differ\n",
                counts.c_str(), totals.exact, totals.differ);
    if (totals.limits > 0) {
        std::printf("fault sweep: platform limits, not counted as restored: %d\n", totals.limits);
        for (const std::string& line : totals.limitLines)
            std::printf("  platform limit: %s\n", line.c_str());
    }
    return totals.differ;
}

}  // namespace va::test
