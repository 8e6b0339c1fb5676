#pragma once
// "Uninstall.ulog" on disk: read strictly, and written again with what is
// left when an uninstallation could not finish.

#include <string>
#include <vector>

#include "engine/journal/core/log_entry.h"
#include "uninstaller/core/log_check.h"

namespace va::uninstall {

// Missing when the file is not there; Damaged also when it cannot be read.
CheckedLog ReadUninstallLog(const std::wstring& path);

// The log's format, header as given: `product` is the third line's text
// after "Install ".  The file gets the attributes the installer gives it.
// False when it could not be written whole; the old log then stays.
bool WriteUninstallLog(const std::wstring& path, const std::wstring& product, const std::wstring& installFolder,
                       const std::wstring& startMenuFolder, const std::vector<LogEntry>& entries);

}  // namespace va::uninstall
