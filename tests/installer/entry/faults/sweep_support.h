#pragma once
// What the fault sweep's parts share: the machine of each scenario, the
// small package the sweep installs, runs of the installer (the shipped one
// or its fault-injection flavour) with their exit code and text log, and
// snapshots of the machine with the contents of the product's files.

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/driver/machine_snapshot.h"

namespace va::test {

enum class Scenario { Fresh, Update, Reinstall };
const char* ScenarioName(Scenario scenario);

// Puts the machine in the scenario's starting state: nothing of the product
// (fresh); the 7.8.7.0 stand-in installed, with its key and log, and the
// user's changes to its data files (update); this version installed
// (reinstall).
void PrepareMachine(Scenario scenario);
void CleanMachine();

// The embedded package cut down to one entry of each kind but the language
// libraries, the uninstaller's bytes replaced by a line of text: fault
// points grow with files, the kinds are what matters.
std::string SmallPackage(const std::wstring& installer);

std::wstring BuildFolder();  // <tree>
std::wstring ShippedInstaller();
std::wstring FaultFlavour();
std::wstring ScratchFolder();  // below the temporary folder, made on first use

struct FaultSettings {
    unsigned long failAt = 0;   // TRELVANE_FAULT_POINT
    unsigned long pauseAt = 0;  // TRELVANE_FAULT_PAUSE
    std::wstring report;        // TRELVANE_FAULT_REPORT
    bool stopAfterRecovery = false;  // TRELVANE_STOP_AFTER_RECOVERY=1
};

struct RunResult {
    DWORD exitCode = STILL_ACTIVE;
    std::string log;  // the run's /log text
};

// A quiet run of `program` to its end.
RunResult RunQuiet(const std::wstring& program, const FaultSettings& faults = {});

struct PointLine {
    unsigned long number = 0;
    std::string what;       // passed, failed, paused
    std::string operation;  // "create folder", ...
};
std::vector<PointLine> ReadReport(const std::wstring& report);

// A quiet run of `program` held at point `faults.pauseAt` and killed there
// (TerminateProcess), as a power cut would end it; `faults.report` names
// the report to watch.  False when the run ended without being held.
bool RunKilled(const std::wstring& program, const FaultSettings& faults);

// The names at the top of the temporary folder; removing one of them with
// everything below it.
std::set<std::wstring> TemporaryEntries();
void RemoveTemporaryEntry(const std::wstring& name);

// A machine snapshot with a CRC-32 of every file of the product's areas
// (any path naming the maker or the product).
struct Machine {
    MachineSnapshot snapshot;
    std::map<std::wstring, std::uint32_t> contents;
};
Machine TakeMachine();

// Differences in files (with contents) and registry.  With `times`, a
// file's write time counts too (a restored file is the same file); without
// it, two installations made one after the other compare equal.
std::vector<std::wstring> Compare(const Machine& before, const Machine& after, bool times);

// True when the platform's RegRestoreKeyW puts a saved key back.
bool RegistryRestoreWorks();

std::string Narrow(const std::wstring& text);
bool Contains(const std::wstring& haystack, const wchar_t* needle);

}  // namespace va::test
