#pragma once
// Where the previous installation of the product is: its main program,
// found through the value every installation writes under the maker's key,
// and its uninstall log.  Registry failures other than "not there" raise
// std::system_error.

#include <string>

#include "identity/core/registry_locations.h"

namespace va {

// The installed main program's path, or empty: computed by the first call,
// kept for the rest of the process.
const std::wstring& InstalledProgramPath();
// The same lookup, made afresh at each call.
std::wstring LookUpInstalledProgramPath();

// The full path of an existing previous log, or empty; computed at each call.
// A log beside the running installer counts only when its "Install Path" is
// the installed program's folder; one passed over for that is named in
// `ignored`.
std::wstring PreviousLogPath(std::wstring* ignored = nullptr);
// With the running installer's path and the installed program's path given.
std::wstring PreviousLogPathFor(const std::wstring& ownProgram, const std::wstring& installedProgram,
                               std::wstring* ignored = nullptr);

// Whether the file system finds something at `path` (no error, not "not found").
bool PathExists(const std::wstring& path);

}  // namespace va
