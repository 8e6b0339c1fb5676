#pragma once
// The folder of one run of the installer or the uninstaller in the
// temporary folder: a name no other run shares.

#include <string>

namespace va {

// "vantaro_{<random UUID>}".
std::wstring NewRunFolderName();

}  // namespace va
