#pragma once
// Data exchange between a dialog's controls and its members.  In the save
// direction a failed validation shows its message, focuses the control and
// stops the exchange (UpdateData then returns false).

#include <windows.h>

#include <string>

namespace va {

class CDialog;

// Thrown by CDataExchange::Fail, caught by CDialog::UpdateData.
struct DataExchangeFailure {};

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate) noexcept
        : dialog_(dialog), saveAndValidate_(saveAndValidate)
    {
    }

    bool SaveAndValidate() const noexcept { return saveAndValidate_; }
    CDialog* Dialog() const noexcept { return dialog_; }

    // Finds control `id` and makes it the one a failure focuses; raises
    // DataExchangeFailure when the dialog has no such control.
    HWND PrepareControl(int id);
    HWND PrepareEditControl(int id);
    // Focuses the prepared control (selecting an edit's text) and stops.
    [[noreturn]] void Fail();
    HWND LastEditControl() const noexcept { return lastIsEdit_ ? lastControl_ : nullptr; }

private:
    CDialog* dialog_;
    bool saveAndValidate_;
    HWND lastControl_ = nullptr;
    bool lastIsEdit_ = false;
};

// Binds `control` to the dialog's control `id` (load direction only).
void DDX_Control(CDataExchange* dx, int id, HWND& control);
void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
// Check box: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* dx, int id, int& value);
// The first radio button of a group: `value` is the index of the checked
// button in the group, -1 when none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// After DDX_Text of the same control: at most `maxChars` characters.  Also
// limits the edit control's text in the load direction.
void DDV_MaxChars(CDataExchange* dx, const std::wstring& value, int maxChars);
// Save direction: shows `text` as a failed validation of the control of the
// exchange just before, and stops.
[[noreturn]] void DDV_Refuse(CDataExchange* dx, const std::wstring& text);

}  // namespace va
