#include "framework/win_app.h"

#include <algorithm>

#include "framework/dialog.h"

namespace va {
namespace {

CWinApp* theApp = nullptr;

}  // namespace

CWinApp::CWinApp(const wchar_t* appName) : instance_(::GetModuleHandleW(nullptr))
{
    if (appName)
        appName_ = appName;
    theApp = this;
}

CWinApp::~CWinApp()
{
    if (theApp == this)
        theApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

BOOL CWinApp::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void CWinApp::DoEnableModeless(BOOL enable)
{
    if (!enable) {
        if (modelessDisabled_++ > 0)
            return;
        for (Modeless& m : modeless_) {
            m.disabledByUs = ::IsWindowEnabled(m.window) != FALSE;
            if (m.disabledByUs)
                ::EnableWindow(m.window, FALSE);
        }
        return;
    }
    if (modelessDisabled_ == 0 || --modelessDisabled_ > 0)
        return;
    for (Modeless& m : modeless_) {
        if (m.disabledByUs)
            ::EnableWindow(m.window, TRUE);
        m.disabledByUs = false;
    }
}

int CWinApp::DoMessageBox(const std::wstring& text, UINT type)
{
    HWND top = nullptr;
    HWND owner = GetSafeOwner(nullptr, &top);
    DoEnableModeless(FALSE);
    const int answer = ::MessageBoxW(owner, text.c_str(), appName_.empty() ? nullptr : appName_.c_str(), type);
    if (top)
        ::EnableWindow(top, TRUE);
    DoEnableModeless(TRUE);
    return answer;
}

void CWinApp::ProcessWndProcException(HWND window, UINT message)
{
    // A dialog that cannot initialise itself is unusable: close it rather
    // than leave a half-built window on the screen.
    if (message == WM_INITDIALOG) {
        if (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)
            ::DestroyWindow(window);
        else
            ::EndDialog(window, -1);
    }
}

HWND CWinApp::MainWindow() const noexcept
{
    return mainDialog_ ? mainDialog_->GetSafeHwnd() : mainWindow_;
}

void CWinApp::BeginWaitCursor()
{
    if (waitCount_++ == 0)
        cursorBeforeWait_ = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

void CWinApp::EndWaitCursor()
{
    if (waitCount_ == 0)
        return;
    if (--waitCount_ == 0)
        ::SetCursor(cursorBeforeWait_ ? cursorBeforeWait_ : ::LoadCursorW(nullptr, IDC_ARROW));
}

void CWinApp::AddModeless(HWND window)
{
    if (window && std::none_of(modeless_.begin(), modeless_.end(),
                               [&](const Modeless& m) { return m.window == window; }))
        modeless_.push_back({window, false});
}

void CWinApp::RemoveModeless(HWND window)
{
    std::erase_if(modeless_, [&](const Modeless& m) { return m.window == window; });
}

CWinApp* CurrentApp() noexcept
{
    return theApp;
}

const wchar_t* CurrentAppName() noexcept
{
    if (!theApp || theApp->AppName().empty())
        return nullptr;
    return theApp->AppName().c_str();
}

HWND GetSafeOwner(HWND parent, HWND* top)
{
    HWND owner = parent;
    if (!owner && theApp)
        owner = theApp->MainWindow();
    // A popup cannot be owned by a child window.
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);

    HWND root = owner;
    for (HWND up = owner; up; up = ::GetParent(up))
        root = up;

    if (!parent && owner)
        owner = ::GetLastActivePopup(owner);

    if (top) {
        *top = nullptr;
        if (root && root != owner && ::IsWindowEnabled(root)) {
            ::EnableWindow(root, FALSE);
            *top = root;
        }
    }
    return owner;
}

bool PreTranslateAppMessage(MSG* msg)
{
    for (HWND window = msg->hwnd; window; window = ::GetParent(window)) {
        CDialog* dialog = CDialog::FromHandle(window);
        if (dialog && dialog->PreTranslateMessage(msg))
            return true;
        if (!(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
            break;
    }
    return theApp && theApp->PreTranslateMessage(msg);
}

int RunApplication()
{
    CWinApp* app = theApp;
    if (!app)
        return -1;
    if (app->InitInstance()) {
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (!PreTranslateAppMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
    return app->ExitInstance();
}

}  // namespace va
