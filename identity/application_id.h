#pragma once

#include <string>

#include "support/program_path.h"

namespace va {

// "ApplicationId" of the program's own version resource, else its
// "ProductName", else the stem of the program's file name.
std::wstring DetermineApplicationId();

}  // namespace va
