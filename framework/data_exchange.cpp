#include "framework/data_exchange.h"

#include "framework/dialog.h"
#include "framework/framework_strings.h"
#include "framework/win_app.h"
#include "support/format_message.h"
#include "support/resource_string.h"

namespace va {
namespace {

void ShowValidationMessage(const std::wstring& text)
{
    if (CWinApp* app = CurrentApp())
        app->DoMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    else
        ::MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

bool IsRadioButton(HWND control)
{
    const LONG_PTR kind = ::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return ::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON ||
           kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

}  // namespace

HWND CDataExchange::PrepareControl(int id)
{
    HWND control = dialog_->GetDlgItem(id);
    if (!control)
        throw DataExchangeFailure{};
    lastControl_ = control;
    lastIsEdit_ = false;
    return control;
}

HWND CDataExchange::PrepareEditControl(int id)
{
    HWND control = PrepareControl(id);
    lastIsEdit_ = true;
    return control;
}

void CDataExchange::Fail()
{
    if (lastControl_ && saveAndValidate_) {
        ::SetFocus(lastControl_);
        if (lastIsEdit_)
            ::SendMessageW(lastControl_, EM_SETSEL, 0, -1);
    }
    throw DataExchangeFailure{};
}

void DDX_Control(CDataExchange* dx, int id, HWND& control)
{
    if (!control)
        control = dx->PrepareControl(id);
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value)
{
    HWND control = dx->PrepareEditControl(id);
    if (dx->SaveAndValidate()) {
        const int length = ::GetWindowTextLengthW(control);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const int copied = ::GetWindowTextW(control, text.data(), length + 1);
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        value = std::move(text);
    } else {
        ::SetWindowTextW(control, value.c_str());
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareControl(id);
    if (dx->SaveAndValidate())
        value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareControl(id);
    if (dx->SaveAndValidate())
        value = -1;
    // The group runs from `id` to the next control with WS_GROUP.
    int index = 0;
    for (HWND button = control; button; button = ::GetWindow(button, GW_HWNDNEXT)) {
        if (button != control && (::GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP))
            break;
        if (!IsRadioButton(button))
            continue;
        if (dx->SaveAndValidate()) {
            if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED && value == -1)
                value = index;
        } else {
            ::SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDV_MaxChars(CDataExchange* dx, const std::wstring& value, int maxChars)
{
    if (!dx->SaveAndValidate()) {
        // The control of the DDX_Text just before.
        if (HWND edit = dx->LastEditControl())
            ::SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (static_cast<int>(value.size()) > maxChars) {
        ShowValidationMessage(FormatInserts(LoadResourceString(nullptr, kIdsEnterNoMoreThan), {std::to_wstring(maxChars)}));
        dx->Fail();
    }
}

void DDV_Refuse(CDataExchange* dx, const std::wstring& text)
{
    ShowValidationMessage(text);
    dx->Fail();
}

}  // namespace va
