#pragma once
// Which package entries are written, kept or only passed through the
// temporary folder, by entry kind and by what the start-up found installed.

#include <cstdint>

namespace va {

enum class PlacementAction {
    place,            // journal (unless temporary), show and write the file
    keep,             // leave what is there; nothing journalled
    keep_granting,    // a data file of the previous installation: grant rights, keep
    record_and_keep,  // a data file already there: journal a copy, commit, grant rights, keep
};

struct PlacementDecision {
    PlacementAction action = PlacementAction::place;
    bool journal = true;           // RecordFile before writing, CommitOutcome(1) at the end
    bool copy = false;             // the journal copies what it replaces instead of moving it
    bool temporary = false;        // listed for removal at the end of the run
    bool grantAtEnd = false;       // data-file rights once verified
    bool mainProgram = false;      // remembered as the installed program
    bool uninstaller = false;      // remembered as the uninstaller
};

PlacementDecision decide_placement(std::uint32_t entryKind, std::int32_t installKind, bool fileExists,
                                   bool keptDataFile) noexcept;

// Data-file access mask for the Users group (shared folders:
// engine/package/core/shared_folders.h).
inline constexpr std::uint32_t kDataFileAccess = 0x13019F;   // generic read, write, delete

}  // namespace va
