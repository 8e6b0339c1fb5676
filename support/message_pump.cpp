#include "support/message_pump.h"

namespace va {
namespace {

PreTranslateHook g_preTranslate = nullptr;

}  // namespace

void SetPreTranslateHook(PreTranslateHook hook)
{
    g_preTranslate = hook;
}

bool PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (g_preTranslate && g_preTranslate(&message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

DWORD WaitPumpingMessages(HANDLE handle)
{
    for (;;) {
        const DWORD wait = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED_0)
            return wait == WAIT_OBJECT_0 ? WAIT_OBJECT_0 : WAIT_ABANDONED;
        if (wait != WAIT_OBJECT_0 + 1)
            return WAIT_FAILED;
        // The quit message stays queued and would wake every later wait.
        if (!PumpMessages()) {
            const DWORD plain = ::WaitForSingleObject(handle, INFINITE);
            return plain == WAIT_OBJECT_0 || plain == WAIT_ABANDONED ? plain : WAIT_FAILED;
        }
    }
}

}  // namespace va
