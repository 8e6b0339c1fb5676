// The process start, in the order it must happen (languages/startup_stages.h);
// then every object of default priority, the application object among them.
// GCC runs dynamic initialisers of lower init_priority first, across all
// translation units of the executable, so the order does not depend on the
// link order.  Only this translation unit uses init_priority.

#include "languages/startup_stages.h"

namespace {

// A quiet run shows no box, not even the first checks' ones.
va::ProcessorCheckStage processorCheck __attribute__((init_priority(101))){va::QuietSwitch::SilencesBoxes};
va::SupportStartupStage supportStartup __attribute__((init_priority(102)));
va::MessageHooksStage messageHooks __attribute__((init_priority(103)));

}  // namespace
