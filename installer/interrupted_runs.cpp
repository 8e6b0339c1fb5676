// Start-up: the journals of installation runs that did not end are undone
// before this run changes anything.

#include "identity/core/product.h"
#include "installer/install_app.h"
#include "languages/core/message_numbers.h"
#include "languages/languages.h"
#include "engine/journal/journal_recovery.h"
#include "engine/journal/protected_root.h"
#include "engine/steps/file_type_registration.h"
#include "support/core/exit_codes.h"
#include "support/error_text.h"
#include "support/fault_point.h"
#include "support/format_message.h"
#include "support/message_box.h"

namespace va {

bool CInstallApp::RecoverInterruptedRuns()
{
    RecoveryActions actions;
    actions.withdrawFileTypes = [this](const std::wstring& program) { WithdrawFileTypes(program, InstanceMutex); };
    const RecoveryReport report = RecoverJournals(DefaultJournalRoot(), actions);
    if (report.Outcome == RecoveryOutcome::Refused) {
        TextLog.Line(L"interrupted run not undone: " + report.Path + L", error " + std::to_wstring(report.Error) +
                     L", damage " + std::to_wstring(static_cast<int>(report.Damage)));
        Refuse(exit_code::kFailed, FormatInserts(InstallerMessage(kMessageInterruptedRunNotUndone),
                                                 {ProductDisplayName(false), report.Path, ErrorText(report.Error)}));
        return false;
    }
    if (report.DiscardedRuns > 0)
        TextLog.Line(L"backups of a finished run discarded: " + std::to_wstring(report.DiscardedRuns));
    if (report.UndoneRuns > 0) {
        const std::wstring text =
            FormatInserts(InstallerMessage(kMessageInterruptedRunUndone), {ProductDisplayName(false)});
        TextLog.Line(text + L" (" + std::to_wstring(report.UndoneChanges) + L" changes undone)");
        if (!Quiet())
            ShowMessage(text, MB_OK | MB_ICONINFORMATION);
    }
    FaultMilestone("recovered");
    return true;
}

}  // namespace va
