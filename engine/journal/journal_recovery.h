#pragma once
// Recovery at start-up: the journals on disk of runs that did not end
// (killed, cut off by a power failure) are undone, newest change first, so
// that the machine is as it was before them.  Each undo is marked in the
// journal as it is done, so a recovery that is itself killed is finished by
// the next one.  A journal that cannot be read whole, or a change that
// cannot be undone, keeps the journal and refuses the run: nothing is ever
// undone in part on the strength of a damaged journal.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

#include "engine/journal/core/journal_file_format.h"

namespace va {

enum class RecoveryOutcome {
    Nothing,    // no journal: nothing was running
    Recovered,  // every journal found undone (or, committed, discarded)
    Refused,    // the root is not safe, a journal is damaged or an undo failed: the run must not go on
};

struct RecoveryReport {
    RecoveryOutcome Outcome = RecoveryOutcome::Nothing;
    std::size_t UndoneRuns = 0;       // interrupted runs rolled back
    std::size_t DiscardedRuns = 0;    // committed runs whose backups were left
    std::size_t UndoneChanges = 0;
    // For a refusal: the root or journal concerned, and why.
    std::wstring Path;
    DWORD Error = ERROR_SUCCESS;
    JournalDamage Damage = JournalDamage::None;
};

// What the journal's own layer cannot do: withdrawing a file-type
// registration runs the program that made it.
struct RecoveryActions {
    std::function<void(const std::wstring& program)> withdrawFileTypes;
};

// Every run folder under `root`; the root itself must pass
// CheckProtectedRoot, or it is not touched at all.
RecoveryReport RecoverJournals(const std::wstring& root, const RecoveryActions& actions);

// Undoes one recorded change (the recovery's step); ERROR_SUCCESS when the
// change is undone or was never made.
DWORD UndoJournalRecord(const JournalRecord& record, const RecoveryActions& actions);

}  // namespace va
