// The process start, in the order it must happen:
//   101  the library search restricted to the system folder (before any
//        library is loaded by name), then the processor check (nothing may
//        run on a processor without SSE2; only the look for "/quiet", which
//        decides whether it may show a box);
//   102  the support library's one-time start-up;
//   103  the message boxes' default hooks and the facts they take from installer/;
//   then every object of default priority, the application object among them.
// GCC runs dynamic initialisers of lower init_priority first, across all
// translation units of the executable, so the order does not depend on the
// link order.  Only this translation unit uses init_priority.

#include "identity/application_id.h"
#include "languages/languages.h"
#include "languages/process_locale.h"
#include "support/core/command_line.h"
#include "support/dll_search_order.h"
#include "support/message_hooks.h"
#include "support/startup.h"
#include "support/system_checks.h"

namespace {

struct ProcessorCheckStage {
    ProcessorCheckStage()
    {
        va::RestrictDllSearchToSystemFolder();
        // A quiet run shows no box, not even the first checks' ones.
        va::StartupBoxesSilenced =
            va::NamesSwitch(va::SplitArguments(va::ArgumentsAfterProgram(::GetCommandLineW())), {L"quiet"});
        va::CheckProcessor();
    }
};

struct SupportStartupStage {
    SupportStartupStage()
    {
        va::StartupSteps steps;
        steps.setUpProcessLocale = va::SetUpProcessLocale;
        steps.determineApplicationId = va::DetermineApplicationId;
        va::RunSupportStartup(steps);
    }
};

struct MessageHooksStage {
    MessageHooksStage()
    {
        va::InstallDefaultMessageHooks();
        va::RegisterMessageFacts();
    }
};

ProcessorCheckStage processorCheck __attribute__((init_priority(101)));
SupportStartupStage supportStartup __attribute__((init_priority(102)));
MessageHooksStage messageHooks __attribute__((init_priority(103)));

}  // namespace
