#pragma once

#include <string>

namespace va {

// "ApplicationId" of the program's own version resource, else its
// "ProductName", else the stem of the program's file name.
std::wstring DetermineApplicationId();

// The running program's path (GetModuleFileNameW, 260 characters).
std::wstring ProgramPath();

}  // namespace va
