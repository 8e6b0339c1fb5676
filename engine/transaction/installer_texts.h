#pragma once
// The step texts from the installer's string tables in the current
// interface language, with the tables' fallbacks.

#include <string>

#include "engine/steps/install_progress.h"

namespace va {

class InstallerTexts : public MessageTexts {
public:
    std::wstring Message(int number) const override;
};

}  // namespace va
