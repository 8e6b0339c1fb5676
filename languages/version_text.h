#pragma once
// The text shown for a program's version in the current interface language.

#include <string>

#include "identity/version_info.h"

namespace va {

// VersionInfo::DisplayText for the current interface language: its French
// spellings only under a French interface.
std::wstring VersionDisplayText(const VersionInfo& info);

}  // namespace va
