#pragma once
// The uninstall log's owner and access list as the system keeps them, for
// the check of who may change it (uninstaller/core/log_writers.h).

#include <string>

#include "uninstaller/core/log_writers.h"

namespace va::uninstall {

// Read through a handle of the file itself (never through a link); false
// when the file cannot be opened or its descriptor read.
bool ReadLogAccess(const std::wstring& path, LogAccess& access);

// The SID of the account this program runs as; empty when unknown.
std::wstring RunningAccountSid();

}  // namespace va::uninstall
