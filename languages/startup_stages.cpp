#include "languages/startup_stages.h"

#include <windows.h>

#include "identity/application_id.h"
#include "languages/languages.h"
#include "languages/process_locale.h"
#include "support/core/command_line.h"
#include "support/dll_search_order.h"
#include "support/message_hooks.h"
#include "support/startup.h"
#include "support/system_checks.h"

namespace va {

ProcessorCheckStage::ProcessorCheckStage(QuietSwitch quiet)
{
    // Before any library is loaded by name.
    RestrictDllSearchToSystemFolder();
    if (quiet == QuietSwitch::SilencesBoxes)
        StartupBoxesSilenced = NamesSwitch(SplitArguments(ArgumentsAfterProgram(::GetCommandLineW())), {L"quiet"});
    CheckProcessor();
}

SupportStartupStage::SupportStartupStage()
{
    StartupSteps steps;
    steps.setUpProcessLocale = SetUpProcessLocale;
    steps.determineApplicationId = DetermineApplicationId;
    RunSupportStartup(steps);
}

MessageHooksStage::MessageHooksStage()
{
    InstallDefaultMessageHooks();
    RegisterMessageFacts();
}

}  // namespace va
