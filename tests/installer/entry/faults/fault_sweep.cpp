// The fault sweep (run by scripts/fault-sweep.sh, which the test command
// runs): the fault points of three scenarios, the damaged packages and one
// killed run, all in this one process so that the machine's snapshots and
// the runs follow each other without a new Wine process each time; on
// request the kill sweep (every point of the scenarios killed).
//   fault_sweep.exe [points|damaged|killed|kills ...] [--verbose] [--chained]
// Without a part: points, damaged and killed.  Exit code 0 when every point
// and every damaged package behaved as documented and every killed point
// was recovered (platform limits apart).

#include <cstdio>
#include <cstring>
#include <exception>

#include <windows.h>

#include "tests/installer/entry/faults/kill_sweep.h"
#include "tests/installer/entry/faults/point_sweep.h"
#include "tests/installer/entry/faults/sweep_support.h"
#include "tests/common/installer_copy.h"

int main(int argc, char** argv)
{
    using namespace va::test;
    bool points = false, damaged = false, killed = false, kills = false;
    SweepOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--verbose") == 0)
            options.verbose = true;
        else if (std::strcmp(argv[i], "--chained") == 0)
            options.chained = true;
        else if (std::strcmp(argv[i], "points") == 0)
            points = true;
        else if (std::strcmp(argv[i], "damaged") == 0)
            damaged = true;
        else if (std::strcmp(argv[i], "killed") == 0)
            killed = true;
        else if (std::strcmp(argv[i], "kills") == 0)
            kills = true;
        else {
            std::fprintf(stderr, "usage: fault_sweep [points] [damaged] [killed] [kills] [--verbose] [--chained]\n");
            return 2;
        }
    }
    if (!points && !damaged && !killed && !kills)
        points = damaged = killed = true;

    try {
        options.smallPackage = SmallPackage(ShippedInstaller());
        options.flavour = ScratchFolder() + L"\\InstallTrelvane7.08g-faults.exe";
        options.shipped = ScratchFolder() + L"\\InstallTrelvane7.08g.exe";
        if (!CopyInstallerWithPackage(FaultFlavour(), options.flavour, options.smallPackage) ||
            !CopyInstallerWithPackage(ShippedInstaller(), options.shipped, options.smallPackage)) {
            std::printf("fault sweep: the installers cannot be copied with the small package\n");
            return 1;
        }
        int failures = 0;
        if (points)
            failures += SweepFaultPoints(options);
        if (damaged)
            failures += SweepDamagedPackages(options);
        if (killed)
            failures += RecordInterruptedRun(options);
        if (kills)
            failures += SweepKills(options);
        CleanMachine();
        ::DeleteFileW(options.flavour.c_str());
        ::DeleteFileW(options.shipped.c_str());
        return failures == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::printf("fault sweep: %s\n", error.what());
        CleanMachine();
        return 1;
    }
}
