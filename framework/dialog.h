#pragma once
// Dialog base of the framework, built from a dialog template of the program.
// Modal through DoModal/EndDialog, or modeless as a child through Create.
// The dialog's own slot (DWLP_USER) holds the object, so one static
// procedure serves every dialog and forwards to the virtual handlers.

#include <windows.h>

#include <functional>
#include <vector>

namespace va {

class CDataExchange;

class CDialog {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally, owned by the safe owner of the parent; the
    // value given to EndDialog, or -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    // Makes the dialog as a modeless window (a child when its template says
    // so) of `parent`.
    BOOL Create(UINT templateId, HWND parent);
    void EndDialog(int result);
    BOOL DestroyWindow();

    // The data exchange: true fills the members from the controls
    // (validating them), false fills the controls from the members.  False
    // when a validation failed; it has shown its message and focused the
    // control.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Offered the messages of our pumps that are meant for this dialog or a
    // window inside it; true consumes the message.  The default gives
    // top-level dialogs their keyboard navigation.
    virtual BOOL PreTranslateMessage(MSG* msg);

    HWND GetSafeHwnd() const noexcept { return hwnd_; }
    operator HWND() const noexcept { return hwnd_; }
    HWND GetDlgItem(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }
    UINT TemplateId() const noexcept { return templateId_; }

    // The framework dialog of a window, or null.
    static CDialog* FromHandle(HWND window) noexcept;

protected:
    virtual BOOL OnInitDialog();  // true: the system sets the focus
    virtual void OnOK();          // UpdateData, then EndDialog(IDOK)
    virtual void OnCancel();      // EndDialog(IDCANCEL)
    virtual void DoDataExchange(CDataExchange* dx);
    // Every other message; true when handled, with `result` as its answer.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Routing by control identifier: a command (WM_COMMAND) with its
    // notification code, or a WM_NOTIFY code, to a handler.  The handlers
    // are consulted before OnOK and OnCancel.
    void OnCommandFrom(UINT id, UINT code, std::function<void()> handler);
    void OnNotifyFrom(UINT id, UINT code, std::function<LRESULT(NMHDR*)> handler);

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Answer(UINT message, LRESULT result);

    struct CommandRoute {
        UINT id;
        UINT code;
        std::function<void()> handler;
    };
    struct NotifyRoute {
        UINT id;
        UINT code;
        std::function<LRESULT(NMHDR*)> handler;
    };

    HWND hwnd_ = nullptr;
    HWND parent_;
    UINT templateId_;
    bool modal_ = false;
    std::vector<CommandRoute> commands_;
    std::vector<NotifyRoute> notifications_;
};

}  // namespace va
