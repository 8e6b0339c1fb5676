#pragma once
// The one place where the wizard reaches the session it reads and edits
// (what start-up found, the folders and choices, the installation's result).

#include "app/install_app.h"

namespace va {

inline CInstallApp& WizardSession()
{
    return InstallApp();
}

}  // namespace va
