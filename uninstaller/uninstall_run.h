#pragma once
// The uninstaller's run, from its command line to its exit code.

namespace va::uninstall {

// Reads the command line of the process and does what it asks.
int RunUninstaller();

}  // namespace va::uninstall
