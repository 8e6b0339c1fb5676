#include "framework/dialog.h"

#include "framework/data_exchange.h"
#include "framework/win_app.h"

namespace va {

CDialog::CDialog(UINT templateId, HWND parent) : parent_(parent), templateId_(templateId) {}

CDialog::~CDialog()
{
    if (hwnd_ && !modal_)
        DestroyWindow();
}

INT_PTR CDialog::DoModal()
{
    CWinApp* app = CurrentApp();
    HWND top = nullptr;
    HWND owner = GetSafeOwner(parent_, &top);
    if (app)
        app->DoEnableModeless(FALSE);
    modal_ = true;
    const HINSTANCE instance = app ? app->Instance() : ::GetModuleHandleW(nullptr);
    const INT_PTR result = ::DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId_), owner, Procedure,
                                             reinterpret_cast<LPARAM>(this));
    modal_ = false;
    hwnd_ = nullptr;
    if (top)
        ::EnableWindow(top, TRUE);
    if (app)
        app->DoEnableModeless(TRUE);
    // The owner was disabled during the dialog; bring it back to the front.
    if (owner && ::GetActiveWindow() == nullptr)
        ::SetActiveWindow(owner);
    return result;
}

BOOL CDialog::Create(UINT templateId, HWND parent)
{
    templateId_ = templateId;
    parent_ = parent;
    CWinApp* app = CurrentApp();
    const HINSTANCE instance = app ? app->Instance() : ::GetModuleHandleW(nullptr);
    HWND made = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent, Procedure,
                                     reinterpret_cast<LPARAM>(this));
    if (made && app && !(::GetWindowLongPtrW(made, GWL_STYLE) & WS_CHILD))
        app->AddModeless(made);
    return made != nullptr;
}

void CDialog::EndDialog(int result)
{
    if (hwnd_)
        ::EndDialog(hwnd_, result);
}

BOOL CDialog::DestroyWindow()
{
    if (!hwnd_)
        return FALSE;
    return ::DestroyWindow(hwnd_);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate != FALSE);
    try {
        DoDataExchange(&dx);
    } catch (const DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (!hwnd_ || (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD))
        return FALSE;
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageW(hwnd_, msg);
}

CDialog* CDialog::FromHandle(HWND window) noexcept
{
    constexpr ULONG_PTR kDialogClassAtom = 32770;
    if (!window || ::GetClassLongPtrW(window, GCW_ATOM) != kDialogClassAtom)
        return nullptr;
    if (reinterpret_cast<DLGPROC>(::GetWindowLongPtrW(window, DWLP_DLGPROC)) != Procedure)
        return nullptr;
    return reinterpret_cast<CDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

void CDialog::OnCommandFrom(UINT id, UINT code, std::function<void()> handler)
{
    commands_.push_back({id, code, std::move(handler)});
}

void CDialog::OnNotifyFrom(UINT id, UINT code, std::function<LRESULT(NMHDR*)> handler)
{
    notifications_.push_back({id, code, std::move(handler)});
}

INT_PTR CALLBACK CDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = window;
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self)
        return FALSE;

    INT_PTR answer = FALSE;
    try {
        answer = self->Dispatch(message, wParam, lParam);
    } catch (...) {
        if (CWinApp* app = CurrentApp()) {
            try {
                app->ProcessWndProcException(window, message);
            } catch (...) {
            }
        }
        answer = FALSE;
    }

    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        if (CWinApp* app = CurrentApp())
            app->RemoveModeless(window);
        self->hwnd_ = nullptr;
    }
    return answer;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        const UINT code = HIWORD(wParam);
        for (const CommandRoute& route : commands_) {
            if (route.id == id && route.code == code) {
                route.handler();
                return TRUE;
            }
        }
        // Buttons, menus and accelerators all count (codes 0 and 1).
        if (code <= 1 && id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (code <= 1 && id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        break;
    }
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        for (const NotifyRoute& route : notifications_) {
            if (route.id == header->idFrom && route.code == header->code)
                return Answer(message, route.handler(header));
        }
        break;
    }
    default:
        break;
    }
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result))
        return Answer(message, result);
    return FALSE;
}

INT_PTR CDialog::Answer(UINT message, LRESULT result)
{
    // These messages answer through the procedure's own return value; every
    // other one through the dialog's result slot.
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

}  // namespace va
