#pragma once
// What an installation of the product left on this machine, as text for a
// person at a terminal: the kind of installation a new start would make,
// the folder, the shortcuts, the uninstall key's values and the head of
// the uninstall log.

#include <string>

namespace va::test {

// "fresh installation", "reinstallation", "update" or "newer version
// installed", from the installed program's file version.
std::wstring InstalledState();

// Several lines, each ending with a line break; `logLines` lines of the
// uninstall log.
std::wstring InstallationReport(int logLines);

}  // namespace va::test
