#pragma once
// The journal on disk of one install transaction, handed to the in-memory
// journal for the run's time.

#include <windows.h>

#include "engine/journal/disk_journal.h"

namespace va {

class UninstallLog;
struct ProgramPathValueState;

class RunJournal {
public:
    explicit RunJournal(UninstallLog& log);
    // Dropped, not removed: a run that ends without committing or rolling
    // back (an exception) leaves its journal to the next start.
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // The journal begun in the default root; the Windows error otherwise.
    DWORD Begin();

private:
    UninstallLog& log_;
    DiskJournal disk_;
};

// The program-path value, as it is, announced before the registry step
// writes it.
void AnnounceProgramPathValue(UninstallLog& log, const ProgramPathValueState& before);

}  // namespace va
