#pragma once
// A program cannot delete its own file while it runs, nor the folder that
// holds it.  The uninstaller therefore copies itself to a folder of its own
// in the temporary folder and starts the copy, which waits for the original
// to end and removes what is left: the original, the log and the
// installation folder.  The copy cannot remove itself either: it leaves its
// file and folder to the next restart.

#include <windows.h>

#include <string>

#include "uninstaller/core/uninstall_switches.h"
#include "support/run_log.h"

namespace va::uninstall {

// Copies the running program to "<temp>\vantaro_{uuid}\" and starts it with
// "/finish=<finishLog>" and the switches of `options` that it keeps.  False
// (with the error) when the copy could not be made or started.
bool StartFinishingCopy(const std::wstring& finishLog, const Options& options, RunLog& log, DWORD& error);

// The copy's whole run; its exit code.
int RunFinishingCopy(const Options& options);

}  // namespace va::uninstall
