#pragma once
// The installer's command line: "/quiet", "/passive", "/dir=PATH",
// "/group=FOLDER", "/nostartmenu", "/nodesktop", "/lang=L", "/log=FILE",
// "/norestart" and "/?", parsed with the switch grammar the uninstaller shares
// (support/core/command_line.h).  Values are checked here, before anything
// runs: a line that names a folder or a language the installer cannot use is
// refused as a whole.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "languages/core/language_table.h"
#include "support/core/command_line.h"
#include "support/core/install_folder_rule.h"

namespace va {

enum class RunMode {
    Wizard,   // no switch: the wizard as the user drives it
    Passive,  // the wizard on the Install page, running at once, asking nothing
    Quiet,    // no window and no box at all
};

struct InstallerOptions {
    RunMode mode = RunMode::Wizard;
    bool help = false;
    std::wstring logFile;                        // empty: no text log
    std::optional<std::wstring> installFolder;   // "/dir": absolute, trailing separators removed
    std::optional<std::wstring> startMenuGroup;  // "/group": relative to the Start menu
    bool noStartMenu = false;
    bool noDesktop = false;
    bool noRestart = false;                      // taken; the installer never restarts anyway
    std::optional<LanguageIndex> language;       // "/lang": a product language
};

struct ParsedInstallerOptions {
    CommandLine parsed;            // its error and offending argument tell why a line was refused
    std::wstring_view reason;      // for the run log: what is wrong with the argument
    InstallerOptions options;
};

ParsedInstallerOptions ParseInstallerArguments(const std::vector<std::wstring>& arguments);

// The switches the installer takes, for those that describe its command line
// to deployment tools.
std::span<const SwitchSpec> InstallerSwitchTable();

// "/group": a relative folder below the Start menu, without "." or "..".
FolderProblem CheckStartMenuGroup(std::wstring_view group);

// "/lang": a decimal index 0 to 19 or a two-letter code ("en", "FR"); -1
// for anything else.  The index is not checked against the product's languages.
LanguageIndex LanguageOfSwitchValue(std::wstring_view value);

}  // namespace va
