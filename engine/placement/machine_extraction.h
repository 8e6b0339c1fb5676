#pragma once
// The package extracted onto this machine: the package reader with the
// shell's folders, SamePath for the shared folders and the Users rights of
// the file placement.

#include <windows.h>

#include <istream>
#include <string>

#include "engine/package/core/notification.h"

namespace va {

// Extracts with the shell's folders (owner window `owner`), SamePath for
// the shared folders and the Users rights of the file placement.
bool extract_package(std::istream& stream, const std::wstring& installationFolder,
                     const std::wstring& samplesFolder, const std::wstring& temporaryFolder,
                     const notification_callback& callback, HWND owner = nullptr);

}  // namespace va
