// Program entry of "Uninstall.exe".

#include <windows.h>

#include "support/exception_text.h"
#include "support/message_box.h"
#include "support/message_hooks.h"
#include "support/core/exit_codes.h"
#include "uninstaller/uninstall_run.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        return va::uninstall::RunUninstaller();
    } catch (...) {
        // Unexpected: said once (unless quiet), and the run counts as failed.
        try {
            va::ShowMessage(va::ExceptionText(std::current_exception()), MB_OK | MB_ICONEXCLAMATION);
        } catch (...) {
        }
        return va::exit_code::kFailed;
    }
}
