#pragma once
// The product's areas on this machine, for the log being undone.

#include <string>

#include "engine/journal/core/log_reader.h"
#include "uninstaller/core/product_areas.h"

namespace va::uninstall {

// A special folder (SHGetFolderPathW, current path); empty when unknown.
std::wstring SpecialFolder(int csidl);

// Roots: the log's installation and Start-menu folders, both desktops and
// every destination folder of the package; protected: the system folders
// those hang from.
ProductAreas MachineProductAreas(const LogContents& log);

}  // namespace va::uninstall
