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
};

int SweepFaultPoints(const SweepOptions& options);
int SweepDamagedPackages(const SweepOptions& options);
int RecordInterruptedRun(const SweepOptions& options);

}  // namespace va::test
