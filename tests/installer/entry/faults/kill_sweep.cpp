// The kill sweep: every fault point of the fault sweep's three scenarios,
// with the run held there and killed (TerminateProcess), as a power cut, a
// deployment tool's time-out or the task manager ends it.  The next start
// must undo the killed run before anything else: the fault flavour, asked
// to stop right after that recovery, must leave the machine exactly as it
// was before the killed run (write times included: a restored file is the
// same file), and a quiet run after it must end with the machine of a
// faultless installation.  Then the recovery itself is killed at a few of
// its own points: the start after that must finish it.

#include "tests/installer/entry/faults/kill_sweep.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "support/core/exit_codes.h"
#include "tests/installer/entry/faults/sweep_support.h"

namespace va::test {
namespace {

constexpr char kUndo[] = "undo change";
// Without --verbose, the differences of this many points are shown line by
// line, the others by their verdict alone: before the recovery exists every
// point differs.
constexpr int kDetailedPoints = 10;
constexpr std::size_t kDetailedLines = 8;

// A scenario as a faultless run leaves it.
struct Faultless {
    Scenario scenario = Scenario::Fresh;
    std::vector<PointLine> points;
    Machine end;
    // The point whose passing saves the existing uninstall key; none on a
    // fresh installation.
    unsigned long keySaved = 0;
};

struct Verdict {
    std::vector<std::string> problems;
    std::vector<std::wstring> recovered;  // right after the recovery, against the machine before the kill
    std::vector<std::wstring> temporary;  // new in the temporary folder right after the recovery
    bool ranToEnd = false;                // the quiet run to the end (chained: not after every point)
    std::vector<std::wstring> finished;   // after it, against a faultless installation
    unsigned long undoPoints = 0;         // of the (last) recovery
    std::string log;                      // of a run that misbehaved
    std::string times;                    // of its phases, for --verbose
};

struct Totals {
    int exact = 0;
    int differ = 0;
    int limits = 0;
    std::vector<std::string> limitLines;
};

bool UnderUninstallKey(const std::wstring& line) { return Contains(line, L"\\Uninstall\\Trelvane 7"); }

bool HasUndo(const std::vector<PointLine>& points)
{
    return std::any_of(points.begin(), points.end(), [](const PointLine& p) { return p.operation == kUndo; });
}

// The scenario's points and end state; false (printed) when a faultless run
// fails.
bool RunFaultless(Scenario scenario, const SweepOptions& options, Faultless& f)
{
    const std::wstring report = ScratchFolder() + L"\\kill-points.txt";
    f.scenario = scenario;
    RunResult run;
    // A journal left on this machine before the sweep would be recovered by
    // the first run, its points before the scenario's: counted again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        PrepareMachine(scenario);
        FaultSettings counting;
        counting.report = report;
        run = RunQuiet(options.flavour, counting);
        f.points = ReadReport(report);
        if (!HasUndo(f.points))
            break;
    }
    if (HasUndo(f.points)) {
        std::printf("kill sweep: %s: every start finds something to recover\n", ScenarioName(scenario));
        return false;
    }
    if (run.exitCode != static_cast<DWORD>(exit_code::kSuccess) || run.log.find("Failed") != std::string::npos) {
        std::printf("kill sweep: %s: the run without a fault ended with %lu:\n%s\n", ScenarioName(scenario),
                    run.exitCode, run.log.c_str());
        return false;
    }
    f.end = TakeMachine();
    for (const PointLine& p : f.points)
        if (p.operation == "save registry key" && f.keySaved == 0)
            f.keySaved = p.number;
    return true;
}

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

// The scenario's machine before a killed run.
struct Start {
    bool prepared = false;
    Machine before;
    std::set<std::wstring> temporary;
};

// Prepares the scenario's machine unless `start` is, then holds a run at
// each of `kills` in turn and kills it there: the first a run of the
// scenario, the others starts that recover it.  Then a start that stops
// after its recovery, and a quiet run to the end, left out when not
// `finish` and the recovery was exact.
Verdict KillAndRecover(const Faultless& f, const std::vector<unsigned long>& kills, Start& start, bool finish,
                       const SweepOptions& options)
{
    const std::wstring report = ScratchFolder() + L"\\kill.txt";
    Verdict v;
    DWORD lap = ::GetTickCount();
    auto time = [&v, &lap](const char* phase) {
        const DWORD now = ::GetTickCount();
        v.times += (v.times.empty() ? "" : ", ") + std::string(phase) + " " + std::to_string(now - lap) + " ms";
        lap = now;
    };
    if (!start.prepared) {
        PrepareMachine(f.scenario);
        start.temporary = TemporaryEntries();
        start.before = TakeMachine();
        start.prepared = true;
        time("prepare");
    }
    const std::set<std::wstring>& tempBefore = start.temporary;
    const Machine& before = start.before;
    // Whatever follows changes the machine, until a recovery proves exact.
    start.prepared = false;
    for (std::size_t i = 0; i < kills.size(); ++i) {
        const std::string expected = i == 0 ? f.points[kills[0] - 1].operation : kUndo;
        FaultSettings held;
        held.pauseAt = kills[i];
        held.report = report;
        const bool reached = RunKilled(options.flavour, held);
        std::string operation;
        for (const PointLine& p : ReadReport(report))
            if (p.what == "paused")
                operation = p.operation;
        const std::string which = i == 0 ? "the run" : "recovery " + std::to_string(i);
        if (!reached || operation != expected) {
            v.problems.push_back(which + " was not held at point " + std::to_string(kills[i]) + " (" +
                                 Quote(expected) + (reached ? ", but at " + Quote(operation) : "") + ")");
            for (const std::wstring& name : TemporaryEntries())
                if (!tempBefore.count(name))
                    RemoveTemporaryEntry(name);
            return v;
        }
    }
    time("kill");

    FaultSettings recovery;
    recovery.stopAfterRecovery = true;
    recovery.report = report;
    const RunResult recovered = RunQuiet(options.flavour, recovery);
    if (recovered.exitCode != static_cast<DWORD>(exit_code::kSuccess))
        v.problems.push_back("the recovery ended with " + std::to_string(recovered.exitCode) + ", not 0");
    for (const PointLine& p : ReadReport(report)) {
        if (p.operation == kUndo) {
            ++v.undoPoints;
        } else {
            v.problems.push_back("the start did not stop after its recovery (point " + std::to_string(p.number) +
                                 ": " + Quote(p.operation) + ")");
            break;
        }
    }
    v.recovered = Compare(before, TakeMachine(), true);
    for (const std::wstring& name : TemporaryEntries())
        if (!tempBefore.count(name))
            v.temporary.push_back(name);
    if (!v.problems.empty())
        v.log = recovered.log;
    time("recovery");
    // Recovered exactly: the machine is as `start` says.
    if (!finish && v.problems.empty() && v.recovered.empty() && v.temporary.empty()) {
        start.prepared = true;
        return v;
    }

    FaultSettings next;
    next.report = report;
    const RunResult finished = RunQuiet(options.flavour, next);
    v.ranToEnd = true;
    const std::size_t problems = v.problems.size();
    if (finished.exitCode != static_cast<DWORD>(exit_code::kSuccess))
        v.problems.push_back("the next run ended with " + std::to_string(finished.exitCode) + ", not 0");
    if (finished.log.find("Failed") != std::string::npos)
        v.problems.push_back("a step of the next run says Failed");
    if (HasUndo(ReadReport(report)))
        v.problems.push_back("the next run found something to recover again");
    if (v.problems.size() > problems)
        v.log = finished.log;
    v.finished = Compare(f.end, TakeMachine(), false);
    time("next run");

    for (const std::wstring& name : TemporaryEntries())
        if (!tempBefore.count(name))
            RemoveTemporaryEntry(name);
    return v;
}

bool Exact(const Verdict& v)
{
    return v.problems.empty() && v.recovered.empty() && v.temporary.empty() && v.finished.empty();
}

// RegRestoreKeyW reports success without putting a saved key back on some
// platforms: a kill after the uninstall key was saved leaves it with the
// values the killed run wrote, and nothing else may differ.
bool PlatformLimit(const Verdict& v, const Faultless& f, unsigned long killedAt, bool restoreWorks)
{
    return !restoreWorks && f.keySaved != 0 && killedAt > f.keySaved && v.problems.empty() &&
           v.temporary.empty() && v.finished.empty() && !v.recovered.empty() &&
           std::all_of(v.recovered.begin(), v.recovered.end(), UnderUninstallKey);
}

void PrintLines(const char* title, const std::vector<std::wstring>& lines, bool all)
{
    if (lines.empty())
        return;
    std::printf("    %s:\n", title);
    const std::size_t shown = all ? lines.size() : std::min(lines.size(), kDetailedLines);
    for (std::size_t i = 0; i < shown; ++i)
        std::printf("      %s\n", Narrow(lines[i]).c_str());
    if (shown < lines.size())
        std::printf("      ... and %zu more (--verbose shows them)\n", lines.size() - shown);
}

void PrintDifference(const std::string& head, const Verdict& v, bool detailed, bool verbose)
{
    std::printf("  DIFFERS %s:", head.c_str());
    for (const std::string& p : v.problems)
        std::printf(" %s;", p.c_str());
    if (!v.recovered.empty() || !v.temporary.empty() || !v.finished.empty()) {
        std::printf(" %zu differences after the recovery, %zu new temporary entries", v.recovered.size(),
                    v.temporary.size());
        if (v.ranToEnd)
            std::printf(", %zu after the next run", v.finished.size());
    }
    if (verbose)
        std::printf(" (%s)", v.times.c_str());
    std::printf("\n");
    if (!detailed)
        return;
    PrintLines("right after the recovery, against the machine before the kill", v.recovered, verbose);
    PrintLines("new in the temporary folder right after the recovery", v.temporary, verbose);
    PrintLines("after the next run, against a faultless installation", v.finished, verbose);
    if (verbose && !v.log.empty())
        std::printf("%s\n", v.log.c_str());
}

void Judge(const std::string& head, const Verdict& v, bool limit, const SweepOptions& options, Totals& totals)
{
    if (Exact(v)) {
        ++totals.exact;
        if (options.verbose)
            std::printf("  %s: recovered exactly (%lu undo points; %s)\n", head.c_str(), v.undoPoints,
                        v.times.c_str());
    } else if (limit) {
        ++totals.limits;
        totals.limitLines.push_back(head +
                                    ": the uninstall key keeps the killed run's values, RegRestoreKeyW does "
                                    "not put a saved key back on this platform");
        if (options.verbose)
            PrintLines("right after the recovery", v.recovered, true);
    } else {
        PrintDifference(head, v, options.verbose || totals.differ < kDetailedPoints, options.verbose);
        ++totals.differ;
    }
    std::fflush(stdout);
}

// Whatever a point that went wrong left of the product's (a journal the
// recovery kept, say) goes before the next point, so that the next run's
// points are numbered as the scenario's.
void Scrub(const Machine& clean)
{
    CleanMachine();
    const Machine now = TakeMachine();
    // Backwards: what lies in a folder comes before the folder.
    for (auto entry = now.snapshot.files.rbegin(); entry != now.snapshot.files.rend(); ++entry) {
        const std::wstring& key = entry->first;
        if (clean.snapshot.files.count(key) || !(Contains(key, L"Vantaro") || Contains(key, L"Trelvane")))
            continue;
        const std::wstring& path = entry->second.spelling;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (key.back() == L'\\')
            ::RemoveDirectoryW(path.c_str());
        else
            ::DeleteFileW(path.c_str());
    }
}

}  // namespace

int SweepKills(const SweepOptions& options)
{
    const bool restoreWorks = RegistryRestoreWorks();
    CleanMachine();
    const Machine clean = TakeMachine();
    Totals totals;
    std::string counts;
    Faultless update;
    unsigned long midway = 0;
    unsigned long midwayUndo = 0;
    for (Scenario scenario : {Scenario::Fresh, Scenario::Update, Scenario::Reinstall}) {
        Faultless f;
        if (!RunFaultless(scenario, options, f)) {
            counts += counts.empty() ? "?" : "/?";
            ++totals.differ;
            continue;
        }
        counts += (counts.empty() ? "" : "/") + std::to_string(f.points.size());
        Start start;
        for (const PointLine& point : f.points) {
            const bool finish = !options.chained || point.number == f.points.back().number;
            const Verdict v = KillAndRecover(f, {point.number}, start, finish, options);
            const std::string head = std::string(ScenarioName(scenario)) + " point " +
                                     std::to_string(point.number) + " (" + point.operation + ")";
            const bool limit = PlatformLimit(v, f, point.number, restoreWorks);
            Judge(head, v, limit, options, totals);
            if (!Exact(v) && !limit)
                Scrub(clean);
            if (scenario == Scenario::Update && point.number == (f.points.size() + 1) / 2) {
                midway = point.number;
                midwayUndo = v.undoPoints;
            }
        }
        if (scenario == Scenario::Update)
            update = f;
    }
    std::printf("kill sweep: %s points \xC3\x97 3 scenarios, %d recovered exactly, %d differ\n", counts.c_str(),
                totals.exact, totals.differ);
    if (totals.limits > 0) {
        std::printf("kill sweep: platform limits, not counted as recovered: %d\n", totals.limits);
        for (const std::string& line : totals.limitLines)
            std::printf("  platform limit: %s\n", line.c_str());
    }

    // The recovery of an update killed midway, killed in turn at its first,
    // middle and last undo point.
    Totals again;
    std::set<unsigned long> undoKills;
    if (midwayUndo > 0)
        undoKills = {1, (midwayUndo + 1) / 2, midwayUndo};
    for (unsigned long k : undoKills) {
        Start start;
        const Verdict v = KillAndRecover(update, {midway, k}, start, true, options);
        const std::string head = "update point " + std::to_string(midway) + "'s recovery killed at its undo point " +
                                 std::to_string(k) + " of " + std::to_string(midwayUndo);
        const bool limit = PlatformLimit(v, update, midway, restoreWorks);
        Judge(head, v, limit, options, again);
        if (!Exact(v) && !limit)
            Scrub(clean);
    }
    if (undoKills.empty() && midway != 0) {
        std::printf("  DIFFERS the recovery of update point %lu: it passes no \"%s\" point\n", midway, kUndo);
        ++again.differ;
    }
    std::printf("kill sweep: the recovery itself killed at %zu points, %d recovered exactly, %d differ\n",
                undoKills.size(), again.exact, again.differ);
    for (const std::string& line : again.limitLines)
        std::printf("  platform limit: %s\n", line.c_str());
    CleanMachine();
    return totals.differ + again.differ;
}

}  // namespace va::test
