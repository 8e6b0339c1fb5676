#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/win_app.h"
#include "tests/framework/gui_fixture.h"
#include "tests/framework/tiny_dialog.h"

namespace va::test {
namespace {

// Loads its members into the controls, records what the controls show, lets
// `edit` change the controls, then presses OK.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_TINY) {}
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_TEXT, text);
        if (maxChars >= 0)
            DDV_MaxChars(dx, text, maxChars);
        DDX_Check(dx, IDC_CHECK, check);
        DDX_Radio(dx, IDC_RADIO_FIRST, radio);
        DDX_Control(dx, IDC_GO, go);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        wchar_t buffer[64] = {};
        ::GetDlgItemTextW(GetSafeHwnd(), IDC_TEXT, buffer, 64);
        shownText = buffer;
        shownCheck = ::IsDlgButtonChecked(GetSafeHwnd(), IDC_CHECK);
        shownRadio = -1;
        for (int i = 0; i < 3; ++i) {
            if (::IsDlgButtonChecked(GetSafeHwnd(), IDC_RADIO_FIRST + i) == BST_CHECKED)
                shownRadio = i;
        }
        limit = ::SendDlgItemMessageW(GetSafeHwnd(), IDC_TEXT, EM_GETLIMITTEXT, 0, 0);
        if (edit)
            edit(GetSafeHwnd());
        ::PostMessageW(GetSafeHwnd(), WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    std::wstring text;
    int check = 0;
    int radio = 0;
    int maxChars = -1;
    HWND go = nullptr;
    std::function<void(HWND)> edit;

    std::wstring shownText;
    UINT shownCheck = 0;
    int shownRadio = -2;
    LRESULT limit = 0;
};

TEST(DataExchange, LoadsControlsFromMembersAndSavesThemBackOnOK)
{
    REQUIRE_DISPLAY();
    CWinApp app(L"Tiny App");
    struct Case {
        std::wstring text;
        int check;
        int radio;
        std::wstring typed;
        int checkAfter;
        int radioAfter;  // -1: uncheck every radio button
    };
    const Case cases[] = {
        {L"abc", BST_CHECKED, 2, L"hello", BST_UNCHECKED, 0},
        {L"", BST_UNCHECKED, 0, L"x y", BST_CHECKED, 1},
        {L"long text here", BST_INDETERMINATE, 1, L"", BST_UNCHECKED, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "radio " << c.radio << " to " << c.radioAfter);
        ExchangeDialog dialog;
        dialog.text = c.text;
        dialog.check = c.check;
        dialog.radio = c.radio;
        dialog.edit = [&](HWND window) {
            ::SetDlgItemTextW(window, IDC_TEXT, c.typed.c_str());
            ::CheckDlgButton(window, IDC_CHECK, c.checkAfter);
            for (int i = 0; i < 3; ++i)
                ::CheckDlgButton(window, IDC_RADIO_FIRST + i, i == c.radioAfter ? BST_CHECKED : BST_UNCHECKED);
        };
        ASSERT_EQ(dialog.DoModal(), IDOK);
        // An auto check box shows the indeterminate state only when it is a 3-state box.
        EXPECT_EQ(dialog.shownText, c.text);
        EXPECT_EQ(dialog.shownCheck, c.check == BST_INDETERMINATE ? dialog.shownCheck : UINT(c.check));
        EXPECT_EQ(dialog.shownRadio, c.radio);
        EXPECT_EQ(dialog.text, c.typed);
        EXPECT_EQ(dialog.check, c.checkAfter);
        EXPECT_EQ(dialog.radio, c.radioAfter);
        EXPECT_NE(dialog.go, nullptr);
    }
}

TEST(DataExchange, TooLongTextShowsTheLimitAndKeepsTheDialogWithFocusOnTheEdit)
{
    REQUIRE_DISPLAY();
    CWinApp app(L"Tiny App");
    ExchangeDialog dialog;
    dialog.text = L"abc";
    dialog.maxChars = 5;
    dialog.edit = [](HWND window) { ::SetDlgItemTextW(window, IDC_TEXT, L"too long"); };

    std::wstring boxText, boxCaption;
    bool dialogStayed = false;
    HWND focusAfterBox = nullptr, editControl = nullptr;
    INT_PTR result = 0;
    {
        User user([&] {
            HWND box = WaitForOwnBox();
            HWND window = WaitForOwnDialog(L"Tiny");
            if (!box || !window)
                return;
            editControl = ::GetDlgItem(window, IDC_TEXT);
            boxText = MessageBoxText(box);
            boxCaption = WindowText(box);
            PressButton(box, IDOK);
            WaitUntilGone(box);
            GUITHREADINFO gui{};
            gui.cbSize = sizeof(gui);
            ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &gui);
            focusAfterBox = gui.hwndFocus;
            dialogStayed = ::IsWindowVisible(window) != FALSE;
            ::SendMessageW(editControl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"short"));
            PressButton(window, IDOK);
        });
        result = dialog.DoModal();
    }
    EXPECT_EQ(boxText, L"Enter no more than 5 characters.");
    EXPECT_EQ(boxCaption, L"Tiny App");
    EXPECT_TRUE(dialogStayed);
    EXPECT_EQ(focusAfterBox, editControl);
    EXPECT_EQ(dialog.limit, 5);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.text, L"short");
}

}  // namespace
}  // namespace va::test
