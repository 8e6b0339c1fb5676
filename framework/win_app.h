#pragma once
// The application object of the dialog framework: one per process, made as a
// global during static initialisation; the program entry runs its
// InitInstance.

#include <windows.h>

#include <string>
#include <vector>

namespace va {

class CDialog;

class CWinApp {
public:
    // A null or empty name leaves the application without a name.
    explicit CWinApp(const wchar_t* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // False ends the application at once; true enters the message loop.
    virtual BOOL InitInstance();
    // The exit code of the process.
    virtual int ExitInstance();
    // Offered every message that a pump of ours takes from the queue, after
    // the dialogs it is meant for; true consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Around every message box: false before, true after.  Disables (and
    // then restores) the application's enabled modeless top-level dialogs.
    virtual void DoEnableModeless(BOOL enable);
    // A box owned by the safe owner, with the application name as caption.
    virtual int DoMessageBox(const std::wstring& text, UINT type);
    // Called inside the catch block of a window or dialog procedure, so
    // `throw;` recovers the exception.  Must not throw.
    virtual void ProcessWndProcException(HWND window, UINT message);

    // The name message boxes take as caption; replaceable at run time.
    const std::wstring& AppName() const noexcept { return appName_; }
    void SetAppName(std::wstring name) { appName_ = std::move(name); }

    // The main window: a window, or a dialog object whose window may not
    // exist yet (a modal dialog made the main window before it runs).
    HWND MainWindow() const noexcept;
    void SetMainWindow(HWND window) noexcept
    {
        mainWindow_ = window;
        mainDialog_ = nullptr;
    }
    void SetMainDialog(CDialog* dialog) noexcept
    {
        mainWindow_ = nullptr;
        mainDialog_ = dialog;
    }

    // Counted: the wait cursor shows until every Begin has its End.
    void BeginWaitCursor();
    void EndWaitCursor();

    // Modeless top-level dialogs register here to be disabled around boxes.
    void AddModeless(HWND window);
    void RemoveModeless(HWND window);

    HINSTANCE Instance() const noexcept { return instance_; }

private:
    std::wstring appName_;
    HWND mainWindow_ = nullptr;
    CDialog* mainDialog_ = nullptr;
    HINSTANCE instance_;
    int waitCount_ = 0;
    HCURSOR cursorBeforeWait_ = nullptr;
    int modelessDisabled_ = 0;
    struct Modeless {
        HWND window;
        bool disabledByUs;
    };
    std::vector<Modeless> modeless_;
};

// The one application object, or null before it is made and after it is gone.
CWinApp* CurrentApp() noexcept;
// Its name, or null without application or name.
const wchar_t* CurrentAppName() noexcept;

// The window a box or a modal dialog is owned by: `parent` or, without one,
// the main window (its last active popup); never a child window.  When `top`
// is given it receives the top-level window above the owner, which is
// disabled here when it was enabled (the caller enables it again); null when
// nothing was disabled.
HWND GetSafeOwner(HWND parent, HWND* top);

// For the message pumps of the program: offers `msg` to the framework
// dialogs it belongs to, innermost first, then to the application.
bool PreTranslateAppMessage(MSG* msg);

// The program entry's body: InitInstance, a message loop when it returns
// true, then ExitInstance.  Without an application object the result is -1.
int RunApplication();

}  // namespace va
