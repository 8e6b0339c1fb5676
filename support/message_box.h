#pragma once
// Message boxes and task dialogs with the support library's owner, caption,
// icon and reading-order rules.

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace va {

// What one box needs, from its owner to its final type.  Making it disables
// the application's modeless windows (unless quiet); Close, or the
// destructor, undoes that.
class MessageContext {
public:
    // `text` and `caption`: a value below 0x10000 names a string-table entry
    // of the resource module, anything else is the text itself; an empty or
    // missing caption comes from the caption hook.
    MessageContext(LPCWSTR text, LPCWSTR caption, UINT type);
    ~MessageContext();

    MessageContext(const MessageContext&) = delete;
    MessageContext& operator=(const MessageContext&) = delete;

    // A task dialog must return a real answer: never quiet.
    static MessageContext ForTaskDialog();

    void Close();

    HWND Owner = nullptr;
    HWND Top = nullptr;
    bool Quiet = false;
    std::wstring Text;
    std::wstring Caption;
    UINT Type = 0;

private:
    MessageContext(LPCWSTR text, LPCWSTR caption, UINT type, bool mayBeQuiet);
    bool open_ = false;
};

// The MessageBoxW result, or 1 when quiet.
int ShowMessage(LPCWSTR text, UINT type = MB_OK);
int ShowMessage(const std::wstring& text, UINT type = MB_OK);

// ErrorText(code) with the exclamation icon.
int ShowErrorCode(DWORD code);

// TaskDialogIndirect with the same owner rules; a missing instance comes from
// the resource-module hook, a missing window title from the caption hook.
HRESULT ShowTaskDialog(const TASKDIALOGCONFIG& config, int* button = nullptr, int* radioButton = nullptr,
                       BOOL* verificationChecked = nullptr);

}  // namespace va
