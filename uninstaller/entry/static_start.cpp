// The process start, in the order it must happen (as in the installer):
//   101  the library search restricted to the system folder, then the
//        processor check;
//   102  the support library's one-time start-up (locale, Common Controls,
//        application identity, registration in the instance counter, so
//        that an installer started meanwhile sees the product busy);
//   103  the message boxes' default hooks and the facts they take from the
//        language layer.
// Only this translation unit uses init_priority.

#include "identity/application_id.h"
#include "languages/languages.h"
#include "languages/process_locale.h"
#include "support/dll_search_order.h"
#include "support/message_hooks.h"
#include "support/startup.h"
#include "support/system_checks.h"

namespace {

struct ProcessorCheckStage {
    ProcessorCheckStage()
    {
        va::RestrictDllSearchToSystemFolder();
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
