#pragma once
// One step's result as a line of the text log ("/log=FILE"): a fixed
// keyword for what became of it, the item, and why.  The keywords are a
// format for scripts to read, like the uninstall log's own labels, not
// sentences: they stay the same in every interface language.

#include <string>

#include "uninstaller/core/step_results.h"

namespace va::uninstall {

// "removed C:\...\Trelvane.exe", "kept C:\...\Standard.tv-lib (data file)",
// "failed registry keys (error 5)" ...
std::wstring ResultLine(const StepResult& result);

// "items 41, removed 38, scheduled 1, kept 2, deferred 0, failed 0"
std::wstring SummaryLine(const Summary& summary);

}  // namespace va::uninstall
