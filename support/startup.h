#pragma once
// The support library's one-time start-up, run during static initialisation
// before the application object exists.

#include <windows.h>

#include <string>

#include "support/system_checks.h"

namespace va {

struct StartupSteps {
    // The process locale; false when no usable locale could be made.
    bool (*setUpProcessLocale)() = nullptr;
    // The identity shared with the product's other processes.
    std::wstring (*determineApplicationId)() = nullptr;
    CommonControlsVersionQuery commonControlsVersion = CommonControlsVersion;
};

// Runs once per process; later calls return at once.  Any failure shows
// "Initialization Error" and exits with -11.
void RunSupportStartup(const StartupSteps& steps);

// The identity determined by the start-up (empty before it).
const std::wstring& ApplicationId();

[[noreturn]] void InitializationError();

}  // namespace va
