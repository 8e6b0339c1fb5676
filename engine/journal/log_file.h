#pragma once
// "Uninstall.ulog" on disk, for the installer's journal and the uninstaller
// alike: the bytes in, fed to a reader, and the whole file out, replaced
// safely.

#include <cstddef>
#include <limits>
#include <span>
#include <string>

#include "engine/journal/core/log_reader.h"

namespace va {

enum class LogFileRead {
    Fed,         // the reader has seen the file (it may still have refused a line)
    Missing,     // no file, or no folder for it
    Unreadable,  // there, but it could not be opened or read, or exceeds the limit
};

// Feeds the file to `reader` in pieces, then finishes it (or aborts it on a
// failed read, which also answers Unreadable).
LogFileRead FeedLogFile(const std::wstring& file, LogReader& reader,
                        std::size_t limit = std::numeric_limits<std::size_t>::max());

// Writes the byte-order mark and the lines (FormatLogHeader's, then
// FormatLogEntry's) in place of the file, which is left whole on failure,
// and gives it the log's attributes.
bool WriteLogFile(const std::wstring& file, std::span<const std::wstring> lines);

}  // namespace va
