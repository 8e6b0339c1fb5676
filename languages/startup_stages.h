#pragma once
// The start-up stages both programs run before anything else, in this order
// (each program's entry gives them their init_priority, 101 to 103):
//   the library search restricted to the system folder, then the processor
//   check (nothing may run on a processor without SSE2);
//   the support library's one-time start-up (locale, Common Controls,
//   application identity, registration in the instance counter);
//   the message boxes' default hooks and the facts they take from the
//   language layer.

namespace va {

// Whether "/quiet" on the command line keeps even the first checks' boxes
// from showing.
enum class QuietSwitch { Ignored, SilencesBoxes };

struct ProcessorCheckStage {
    explicit ProcessorCheckStage(QuietSwitch quiet);
};

struct SupportStartupStage {
    SupportStartupStage();
};

struct MessageHooksStage {
    MessageHooksStage();
};

}  // namespace va
