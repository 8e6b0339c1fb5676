#include "support/message_box.h"

#include <utility>

#include "support/core/box_type.h"
#include "support/error_text.h"
#include "support/message_hooks.h"
#include "support/resource_string.h"

namespace va {
namespace {

std::wstring TextOrEntry(LPCWSTR value)
{
    if (!value)
        return {};
    if (IS_INTRESOURCE(value))
        return LoadResourceString(ResourceModuleFromHook(), static_cast<UINT>(reinterpret_cast<ULONG_PTR>(value)));
    return value;
}

BOOL CALLBACK FindCaptionedWindow(HWND window, LPARAM found)
{
    if ((::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Without an owner hook: the root owner of the active window, else of the
// thread's first captioned window, then the popup last active over it.
HWND OwnerWithoutHook()
{
    HWND start = ::GetActiveWindow();
    if (!start)
        ::EnumThreadWindows(::GetCurrentThreadId(), FindCaptionedWindow, reinterpret_cast<LPARAM>(&start));
    if (!start)
        return nullptr;
    HWND root = ::GetAncestor(start, GA_ROOTOWNER);
    if (!root)
        root = start;
    return ::GetLastActivePopup(root);
}

bool LaidOutRightToLeft(HWND window)
{
    return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

}  // namespace

MessageContext::MessageContext(LPCWSTR text, LPCWSTR caption, UINT type)
    : MessageContext(text, caption, type, true)
{
}

MessageContext::MessageContext(LPCWSTR text, LPCWSTR caption, UINT type, bool mayBeQuiet)
{
    Quiet = mayBeQuiet && (type & kBoxButtonBits) == MB_OK && QuietFromHook();

    if (auto windows = OwnerFromHook()) {
        Owner = windows->owner;
        Top = windows->top;
    } else {
        Owner = OwnerWithoutHook();
    }

    if (!Quiet) {
        open_ = true;
        NotifyModal(false);
        if (Owner && Owner != Top)
            ::EnableWindow(Owner, TRUE);
    }

    // The destructor does not run for a constructor that throws: undo the
    // disabling here, or the application's windows would stay disabled.
    try {
        const bool rightToLeft = Owner ? LaidOutRightToLeft(Owner) : UserDefaultRightToLeft();
        Type = CompleteBoxType(type, rightToLeft);

        Text = TextOrEntry(text);
        Caption = TextOrEntry(caption);
        if (Caption.empty())
            Caption = CaptionFromHook();
    } catch (...) {
        Close();
        throw;
    }
}

MessageContext MessageContext::ForTaskDialog()
{
    return MessageContext(nullptr, nullptr, MB_OK, false);
}

MessageContext::~MessageContext()
{
    try {
        Close();
    } catch (...) {
        // A hook failing after the box has closed changes nothing for the caller.
    }
}

void MessageContext::Close()
{
    if (!std::exchange(open_, false))
        return;
    if (Top)
        ::EnableWindow(Top, TRUE);
    NotifyModal(true);
}

int ShowMessage(LPCWSTR text, UINT type)
{
    MessageContext context(text, nullptr, type);
    if (context.Quiet) {
        ::OutputDebugStringW((context.Text + L"\n").c_str());
        return 1;
    }
    const int result = ::MessageBoxW(context.Owner, context.Text.c_str(), context.Caption.c_str(), context.Type);
    context.Close();
    return result;
}

int ShowMessage(const std::wstring& text, UINT type)
{
    return ShowMessage(text.c_str(), type);
}

int ShowErrorCode(DWORD code)
{
    return ShowMessage(ErrorText(code), MB_ICONEXCLAMATION);
}

namespace {

struct CallbackChain {
    PFTASKDIALOGCALLBACK callback;
    LONG_PTR data;
};

void AdoptApplicationIcon(HWND dialog)
{
    HICON icon = IconFromHook();
    if (!icon)
        return;
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
    if (!(style & WS_SYSMENU))
        ::SetWindowLongW(dialog, GWL_STYLE, style | WS_SYSMENU);
    // The menu appears for the icon; closing stays with the dialog's buttons.
    if (HMENU menu = ::GetSystemMenu(dialog, FALSE))
        ::DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
}

HRESULT CALLBACK ForwardNotification(HWND dialog, UINT notification, WPARAM wParam, LPARAM lParam,
                                     LONG_PTR data)
{
    const auto* chain = reinterpret_cast<const CallbackChain*>(data);
    if (notification == TDN_DIALOG_CONSTRUCTED) {
        try {
            AdoptApplicationIcon(dialog);
        } catch (...) {
            // The dialog works without the icon.
        }
    }
    return chain->callback ? chain->callback(dialog, notification, wParam, lParam, chain->data) : S_OK;
}

}  // namespace

HRESULT ShowTaskDialog(const TASKDIALOGCONFIG& config, int* button, int* radioButton, BOOL* verificationChecked)
{
    MessageContext context = MessageContext::ForTaskDialog();

    TASKDIALOGCONFIG adjusted = config;
    if (!adjusted.hwndParent)
        adjusted.hwndParent = context.Owner;
    if (!adjusted.hInstance)
        adjusted.hInstance = ResourceModuleFromHook();
    if (!adjusted.pszWindowTitle)
        adjusted.pszWindowTitle = context.Caption.c_str();
    adjusted.dwFlags |= TDF_POSITION_RELATIVE_TO_WINDOW;
    const bool rightToLeft = adjusted.hwndParent ? LaidOutRightToLeft(adjusted.hwndParent) : CurrentRightToLeft();
    if (rightToLeft)
        adjusted.dwFlags |= TDF_RTL_LAYOUT;

    CallbackChain chain{config.pfCallback, config.lpCallbackData};
    adjusted.pfCallback = ForwardNotification;
    adjusted.lpCallbackData = reinterpret_cast<LONG_PTR>(&chain);

    const HRESULT result = ::TaskDialogIndirect(&adjusted, button, radioButton, verificationChecked);
    context.Close();
    return result;
}

}  // namespace va
