#pragma once
// One journal record; portable so the log parser builds natively.

#include <cstdint>
#include <string>

namespace va {

enum LogEntryType : std::int32_t {
    CreatedFolder = 0,
    InstalledFile = 1,
    ProgramShortcut = 2,
    UninstallShortcut = 3,
    DesktopShortcut = 4,
    UninstallKey = 5,
    FileTypes = 6,
    DirectXRuntime = 7,
};

struct LogEntry {
    std::int32_t Type = CreatedFolder;
    std::wstring Path;
    std::wstring BackupPath;
    std::uint8_t Outcome = 0;
    std::int32_t Detail = -1;
    // Where BackupPath came from; differs from Path for a shortcut whose
    // predecessor sat elsewhere (or whose own creation failed).
    std::wstring BackupSource;
    // The entry's record in the run's journal on disk; 0 (Begin's): none.
    std::uint32_t JournalSequence = 0;
};

}  // namespace va
