#include "engine/transaction/shutdown_block.h"

#include <commctrl.h>

namespace va {
namespace {

constexpr UINT_PTR kSubclassId = 0x7476;  // any number unique among this window's subclasses

LRESULT CALLBACK RefuseEndOfSession(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_QUERYENDSESSION)
        return FALSE;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

ShutdownBlock::ShutdownBlock(HWND window, const std::wstring& reason) : window_(window)
{
    if (!window_) {
        // Top-level, so that it is asked; never shown.
        own_.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr));
        window_ = own_.get();
    }
    if (!window_)
        return;
    subclassed_ = ::SetWindowSubclass(window_, RefuseEndOfSession, kSubclassId, 0) != FALSE;
    reasonSet_ = ::ShutdownBlockReasonCreate(window_, reason.c_str()) != FALSE;
}

ShutdownBlock::~ShutdownBlock()
{
    if (!window_)
        return;
    if (reasonSet_)
        ::ShutdownBlockReasonDestroy(window_);
    if (subclassed_)
        ::RemoveWindowSubclass(window_, RefuseEndOfSession, kSubclassId);
}

}  // namespace va
