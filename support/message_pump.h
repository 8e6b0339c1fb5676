#pragma once
// Handling the waiting window messages in the middle of a long synchronous
// call, so that the wizard repaints while the installation runs.

#include <windows.h>

namespace va {

// The interface framework's pre-translation of a message; true when it
// consumed the message.  The framework sets its PreTranslateAppMessage;
// none until then.
using PreTranslateHook = bool (*)(MSG* message);
void SetPreTranslateHook(PreTranslateHook hook);

// Every waiting message of this thread: offered to the pre-translation, then
// translated and dispatched.  A quit message is posted again and ends the
// pump, so the caller's own loop still sees it; false then.
bool PumpMessages();

// Waits without limit for `handle` while pumping this thread's messages, so
// that the window keeps repainting; after a quit message it only waits.  A
// mutex is then owned by this thread.  WAIT_OBJECT_0, WAIT_ABANDONED (a
// mutex whose owner ended without releasing it: owned now) or WAIT_FAILED.
DWORD WaitPumpingMessages(HANDLE handle);

}  // namespace va
