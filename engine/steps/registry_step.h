#pragma once
// The registry step of the install transaction: the uninstall key, the
// program-path value and the file-type registration, on one progress line.

#include <cstdint>

#include "identity/core/product_version.h"
#include "engine/steps/registry_entries.h"

namespace va {

class InstallProgress;
class InstanceMutex;
class MessageTexts;
class UninstallLog;

struct RegistryStepFacts {
    ProductPaths paths;
    std::uint32_t languageIndex = 1;
    ProductVersion foundVersion = 0;  // not 0 only for an update
};

enum class RegistryStepResult {
    Completed,         // the line ends with "OK" or "Failed"; the transaction goes on
    PathValueFailed,   // the line is still open: the transaction must fail and roll back
};

RegistryStepResult RunRegistryStep(UninstallLog& log, const RegistryStepFacts& facts,
                                   InstanceMutex& mutex, const MessageTexts& texts,
                                   InstallProgress& progress);

}  // namespace va
