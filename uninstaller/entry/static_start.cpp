// The process start, in the order it must happen (languages/startup_stages.h),
// as in the installer.  Only this translation unit uses init_priority.

#include "languages/startup_stages.h"

namespace {

va::ProcessorCheckStage processorCheck __attribute__((init_priority(101))){va::QuietSwitch::Ignored};
va::SupportStartupStage supportStartup __attribute__((init_priority(102)));
va::MessageHooksStage messageHooks __attribute__((init_priority(103)));

}  // namespace
