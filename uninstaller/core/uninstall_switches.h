#pragma once
// The uninstaller's command line.  Public: "/quiet", "/purge", "/log=FILE",
// "/?".  Internal, given by the uninstaller to its own copy: "/finish=LOG"
// (the log the copy completes) and "/wait=HANDLE" (the original process,
// whose end it waits for).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/core/command_line.h"

namespace va::uninstall {

struct Options {
    bool quiet = false;
    bool purge = false;  // remove the data files too (quiet mode asks nothing)
    bool help = false;
    std::wstring logFile;                        // empty: no text log
    std::wstring finishLog;                      // set only in the copy
    std::optional<std::uintptr_t> waitHandle;    // set only in the copy
};

struct ParsedOptions {
    CommandLine parsed;  // its error tells why the line was refused
    Options options;
};

// Parses the arguments after the program's name.  "/wait" takes a decimal
// handle value and comes only with "/finish".
ParsedOptions ParseUninstallerArguments(const std::vector<std::wstring>& arguments);

}  // namespace va::uninstall
