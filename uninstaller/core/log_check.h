#pragma once
// The uninstaller reads "Uninstall.ulog" with the installer's own reader,
// but more strictly: it removes nothing unless the whole file was read and
// its header names the product and the installation folder.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal/core/log_reader.h"

namespace va::uninstall {

enum class LogState {
    Readable,
    Missing,  // no file (the caller tells)
    Damaged,  // a line the reader refused, a missing header line, an unusable folder
};

struct CheckedLog {
    LogState state = LogState::Missing;
    LogContents contents;
    std::size_t line = 0;  // for a damaged log: the line where reading stopped (1-based), 0 when unknown
};

// Judges what a reader has read (after Finish or Abort).
CheckedLog CheckReadLog(LogReader& reader);

// A readable log whose "Install Path" is not `ownFolder` (the running
// uninstaller's folder) becomes damaged at its fourth line: the log beside
// the uninstaller describes that installation and no other, so an edited
// one cannot send the removal elsewhere.
void RequireOwnFolder(CheckedLog& checked, std::wstring_view ownFolder);

// A readable log whose "Shortcut Path", when it has one, lies below none of
// `startMenus` becomes damaged at its fifth line: the Start-menu folder is
// one of the areas the removal may reach.
void RequireStartMenuFolder(CheckedLog& checked, const std::vector<std::wstring>& startMenus);

// `bytes` is the whole file; `decode` reads a file without byte-order mark.
CheckedLog CheckLogBytes(std::string_view bytes, const AnsiDecoder& decode);

}  // namespace va::uninstall
