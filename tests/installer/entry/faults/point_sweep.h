#pragma once
// The three parts of the fault sweep, each printing its findings and its
// figure; each returns its count of failures (0: as documented).

#include <string>

namespace va::test {

struct SweepOptions {
    bool verbose = false;   // every point's verdict, not only the failures
    std::wstring flavour;   // the fault flavour carrying the small package
    std::wstring shipped;   // the shipped installer carrying the small package
    std::string smallPackage;
    // Kill sweep: a point recovered exactly leaves the machine as the next
    // point needs it; the quiet run to the end then follows only the last
    // point of a scenario and a point that was not (about half the runs).
    bool chained = false;
};

int SweepFaultPoints(const SweepOptions& options);
int SweepDamagedPackages(const SweepOptions& options);
int RecordInterruptedRun(const SweepOptions& options);

}  // namespace va::test
