#include <stdexcept>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/win_app.h"
#include "tests/framework/gui_fixture.h"
#include "tests/framework/tiny_dialog.h"

namespace va::test {
namespace {

constexpr UINT kCustomNotification = 0x8001;

class CountingApp : public CWinApp {
public:
    CountingApp() : CWinApp(L"Tiny App") {}
    void ProcessWndProcException(HWND window, UINT message) override
    {
        ++exceptions;
        try {
            throw;
        } catch (const std::runtime_error& e) {
            lastWhat = e.what();
        } catch (...) {
        }
        CWinApp::ProcessWndProcException(window, message);
    }
    int exceptions = 0;
    std::string lastWhat;
};

class RoutedDialog : public CDialog {
public:
    RoutedDialog() : CDialog(IDD_TINY)
    {
        OnCommandFrom(IDC_GO, BN_CLICKED, [this] { ++goClicks; });
        OnCommandFrom(IDC_GO, BN_DOUBLECLICKED, [] { throw std::runtime_error("from a handler"); });
        OnNotifyFrom(IDC_GO, kCustomNotification, [](NMHDR*) -> LRESULT { return 77; });
    }
    BOOL OnInitDialog() override
    {
        ownSlot = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(GetSafeHwnd(), DWLP_USER));
        fromHandle = FromHandle(GetSafeHwnd());
        return CDialog::OnInitDialog();
    }
    void OnCancel() override
    {
        ++cancels;
        CDialog::OnCancel();
    }
    int goClicks = 0;
    int cancels = 0;
    CDialog* ownSlot = nullptr;
    CDialog* fromHandle = nullptr;
};

LRESULT SendNotify(HWND dialog, UINT_PTR from, UINT code)
{
    NMHDR header{};
    header.hwndFrom = ::GetDlgItem(dialog, static_cast<int>(from));
    header.idFrom = from;
    header.code = code;
    return ::SendMessageW(dialog, WM_NOTIFY, from, reinterpret_cast<LPARAM>(&header));
}

TEST(Dialog, KeepsItselfInItsOwnSlotAndRoutesByControlIdentifier)
{
    REQUIRE_DISPLAY();
    CountingApp app;
    RoutedDialog dialog;
    LRESULT routedNotify = 0, otherNotify = -1;
    bool aliveAfterThrow = false;
    INT_PTR result = 0;
    {
        User user([&] {
            HWND window = WaitForOwnDialog(L"Tiny");
            if (!window)
                return;
            ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), 0);
            ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), 0);
            ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_GO, BN_SETFOCUS), 0);  // not routed
            ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_AFTER_GROUP, BN_CLICKED), 0);
            routedNotify = SendNotify(window, IDC_GO, kCustomNotification);
            otherNotify = SendNotify(window, IDC_AFTER_GROUP, kCustomNotification);
            ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_GO, BN_DOUBLECLICKED), 0);
            aliveAfterThrow = ::IsWindow(window) != FALSE;
            PressButton(window, IDCANCEL);
        });
        result = dialog.DoModal();
    }
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.ownSlot, &dialog);
    EXPECT_EQ(dialog.fromHandle, &dialog);
    EXPECT_EQ(dialog.goClicks, 2);
    EXPECT_EQ(dialog.cancels, 1);
    EXPECT_EQ(routedNotify, 77);
    EXPECT_EQ(otherNotify, 0);
    EXPECT_TRUE(aliveAfterThrow);
    EXPECT_EQ(app.exceptions, 1);
    EXPECT_EQ(app.lastWhat, "from a handler");
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

class FailingInit : public CDialog {
public:
    FailingInit() : CDialog(IDD_TINY) {}
    BOOL OnInitDialog() override { throw std::runtime_error("cannot initialise"); }
};

TEST(Dialog, ExceptionInOnInitDialogEndsTheModalDialogWithoutLeavingTheProcedure)
{
    REQUIRE_DISPLAY();
    CountingApp app;
    FailingInit dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(app.exceptions, 1);
}

TEST(Dialog, MissingTemplateGivesMinusOne)
{
    REQUIRE_DISPLAY();
    CountingApp app;
    CDialog dialog(4321);
    EXPECT_EQ(dialog.DoModal(), -1);
}

class ChildPage : public CDialog {
public:
    ChildPage() : CDialog(IDD_TINY_CHILD) {}
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, IDC_CHILD_TEXT, text); }
    BOOL OnInitDialog() override
    {
        ++inits;
        return CDialog::OnInitDialog();
    }
    std::wstring text = L"page text";
    int inits = 0;
};

class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(IDD_TINY) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        created = page.Create(IDD_TINY_CHILD, GetSafeHwnd());
        parentOfPage = ::GetParent(page.GetSafeHwnd());
        pageIsChild = (::GetWindowLongPtrW(page.GetSafeHwnd(), GWL_STYLE) & WS_CHILD) != 0;
        wchar_t text[32] = {};
        ::GetDlgItemTextW(page.GetSafeHwnd(), IDC_CHILD_TEXT, text, 32);
        loadedText = text;
        pageFromHandle = FromHandle(page.GetSafeHwnd());
        ::PostMessageW(GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    ChildPage page;
    BOOL created = FALSE;
    HWND parentOfPage = nullptr;
    bool pageIsChild = false;
    std::wstring loadedText;
    CDialog* pageFromHandle = nullptr;
};

TEST(Dialog, CreateMakesAModelessChildInsideItsParent)
{
    REQUIRE_DISPLAY();
    CountingApp app;
    HostDialog host;
    EXPECT_EQ(host.DoModal(), IDCANCEL);
    EXPECT_TRUE(host.created);
    EXPECT_NE(host.parentOfPage, nullptr);
    EXPECT_TRUE(host.pageIsChild);
    EXPECT_EQ(host.page.inits, 1);
    EXPECT_EQ(host.loadedText, L"page text");
    EXPECT_EQ(host.pageFromHandle, &host.page);
    // Destroyed with its parent; the object knows.
    EXPECT_EQ(host.page.GetSafeHwnd(), nullptr);
}

class ModelessTop : public CDialog {
public:
    ModelessTop() : CDialog(IDD_TINY) {}
    void OnCancel() override { ++cancels; }
    int cancels = 0;
};

TEST(PreTranslation, KeysForControlsOfAModelessDialogReachItsKeyboardHandling)
{
    REQUIRE_DISPLAY();
    CountingApp app;
    ModelessTop top;
    ASSERT_TRUE(top.Create(IDD_TINY, nullptr));
    ChildPage page;
    ASSERT_TRUE(page.Create(IDD_TINY_CHILD, top.GetSafeHwnd()));
    ::ShowWindow(top.GetSafeHwnd(), SW_SHOW);

    struct Case {
        const char* what;
        HWND target;
        UINT message;
        bool consumed;
        int cancels;
    };
    HWND stranger = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const Case cases[] = {
        {"Escape in the dialog's edit", top.GetDlgItem(IDC_TEXT), WM_KEYDOWN, true, 1},
        {"Escape in the child page's edit", page.GetDlgItem(IDC_CHILD_TEXT), WM_KEYDOWN, true, 2},
        {"a window outside every dialog", stranger, WM_KEYDOWN, false, 2},
        {"no keyboard message", top.GetDlgItem(IDC_TEXT), WM_MOUSEMOVE, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MSG msg{};
        msg.hwnd = c.target;
        msg.message = c.message;
        msg.wParam = VK_ESCAPE;
        EXPECT_EQ(PreTranslateAppMessage(&msg), c.consumed);
        EXPECT_EQ(top.cancels, c.cancels);
    }
    ::DestroyWindow(stranger);
}

}  // namespace
}  // namespace va::test
