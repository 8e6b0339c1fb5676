#include "engine/transaction/run_journal.h"

#include "identity/core/product.h"
#include "identity/core/registry_locations.h"
#include "engine/journal/protected_root.h"
#include "engine/journal/undo_change.h"
#include "engine/journal/uninstall_log.h"
#include "engine/steps/program_path_value_state.h"

namespace va {

RunJournal::RunJournal(UninstallLog& log) : log_(log) {}

RunJournal::~RunJournal() { log_.Disk = nullptr; }

DWORD RunJournal::Begin()
{
    log_.JournalError = ERROR_SUCCESS;
    const DWORD error = disk_.Begin(DefaultJournalRoot(), ProductDisplayName(true));
    if (error != ERROR_SUCCESS) {
        disk_.Remove();
        return error;
    }
    log_.Disk = &disk_;
    return ERROR_SUCCESS;
}

void AnnounceProgramPathValue(UninstallLog& log, const ProgramPathValueState& before)
{
    log.AnnounceValue(std::wstring(kMachineRootName) + kMakerKey, ProgramPathValueName(), before.valueExisted,
                      before.type, before.data);
}

}  // namespace va
