#pragma once

#include <string>

namespace va {

// The running program's path: the one the runtime's start-up code recorded,
// else GetModuleFileNameW into 260 characters.
std::wstring ProgramPath();

}  // namespace va
