#pragma once
// Carries out an undo plan on this machine, one step after the other, and
// tells what became of each.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "uninstaller/core/product_areas.h"
#include "uninstaller/core/step_results.h"
#include "uninstaller/core/undo_plan.h"
#include "uninstaller/file_types.h"
#include "uninstaller/removal.h"

namespace va::uninstall {

struct StepHooks {
    // Before each step: its number (from 0) and the count.
    std::function<void(const UndoStep& step, std::size_t number, std::size_t count)> progress;
    // A file is in use: true to try again, false to leave it for a restart.
    std::function<bool(const std::wstring& file)> retryInUse;
    // Runs the main program's unregistration and takes the installer mutex
    // back; without the mutex no further step is taken.
    std::function<Unregistration(const std::wstring& program)> unregisterFileTypes;
    // Removes the product's registry keys: ERROR_SUCCESS or the error.
    std::function<DWORD()> removeProductKeys;
};

class StepRunner {
public:
    // `keepFolder`: the running uninstaller's folder; it and the folders
    // above it are left to the uninstaller's copy when they are not empty.
    StepRunner(const ProductAreas& areas, std::wstring keepFolder, StepHooks hooks);

    std::vector<StepResult> Run(const std::vector<UndoStep>& plan);

    // What was scheduled for the restart, for the steps that follow.
    RestartDeletions& Restart() { return restart_; }

    // Removes a file now, or, in use and not retried, at the restart.
    StepResult RemoveFile(const UndoStep& step);
    // Removes an empty folder, or schedules one that holds only scheduled
    // items.
    StepResult RemoveFolder(const UndoStep& step);

private:
    StepResult Unregister(const UndoStep& step);
    StepResult RemoveKeys(const UndoStep& step);

    const ProductAreas& areas_;
    std::wstring keepFolder_;
    StepHooks hooks_;
    RestartDeletions restart_;
    std::wstring blockedProgram_;  // its file types could not be unregistered: it stays
    bool anyFailed_ = false;
    bool mutexLost_ = false;  // another installer may be at work: every later step is left
};

// The exit code that the main program gives after a successful
// (un)registration.
inline constexpr DWORD kRegistrationDone = static_cast<DWORD>(-10);

}  // namespace va::uninstall
