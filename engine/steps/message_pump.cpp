#include "engine/steps/message_pump.h"

namespace va {
namespace {

PreTranslateHook g_preTranslate = nullptr;

}  // namespace

void SetPreTranslateHook(PreTranslateHook hook)
{
    g_preTranslate = hook;
}

PreTranslateHook CurrentPreTranslateHook()
{
    return g_preTranslate;
}

void PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (g_preTranslate && g_preTranslate(&message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace va
