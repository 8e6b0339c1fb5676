#include "framework/dialog.h"
#include "framework/win_app.h"
#include "tests/framework/gui_fixture.h"
#include "tests/framework/tiny_dialog.h"

namespace va::test {
namespace {

TEST(Application, IsTheCurrentOneWhileItLivesWithItsReplaceableName)
{
    EXPECT_EQ(CurrentApp(), nullptr);
    EXPECT_EQ(CurrentAppName(), nullptr);
    {
        CWinApp app;
        EXPECT_EQ(CurrentApp(), &app);
        EXPECT_EQ(CurrentAppName(), nullptr);
        app.SetAppName(L"Installer – Trelvane");
        EXPECT_STREQ(CurrentAppName(), L"Installer – Trelvane");
    }
    EXPECT_EQ(CurrentApp(), nullptr);
}

TEST(Application, BoxesTakeTheCurrentNameAndDisableModelessDialogsMeanwhile)
{
    REQUIRE_DISPLAY();
    CWinApp app(L"First name");
    CDialog modeless(IDD_TINY);
    ASSERT_TRUE(modeless.Create(IDD_TINY, nullptr));
    for (const wchar_t* name : {L"First name", L"Second name"}) {
        SCOPED_TRACE(testing::Message() << "name");
        app.SetAppName(name);
        std::wstring caption;
        bool modelessEnabledDuringBox = true;
        {
            User user([&] {
                HWND box = WaitForOwnBox();
                if (!box)
                    return;
                caption = WindowText(box);
                modelessEnabledDuringBox = ::IsWindowEnabled(modeless.GetSafeHwnd()) != FALSE;
                PressButton(box, IDOK);
            });
            EXPECT_EQ(app.DoMessageBox(L"text", MB_OK), IDOK);
        }
        EXPECT_EQ(caption, name);
        EXPECT_FALSE(modelessEnabledDuringBox);
        EXPECT_TRUE(::IsWindowEnabled(modeless.GetSafeHwnd()));
    }
}

TEST(SafeOwner, IsNeverAChildAndDisablesTheTopLevelWindowAboveIt)
{
    REQUIRE_DISPLAY();
    CWinApp app;
    CDialog main(IDD_TINY);
    ASSERT_TRUE(main.Create(IDD_TINY, nullptr));
    HWND popup = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, main.GetSafeHwnd(), nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(popup, nullptr);
    app.SetMainWindow(main.GetSafeHwnd());

    struct Case {
        const char* what;
        HWND parent;
        HWND owner;
        HWND top;
    };
    const Case cases[] = {
        {"no parent: the main window", nullptr, main.GetSafeHwnd(), nullptr},
        {"a control: its top-level dialog", main.GetDlgItem(IDC_TEXT), main.GetSafeHwnd(), nullptr},
        {"an owned popup: itself, its owner disabled", popup, popup, main.GetSafeHwnd()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND top = reinterpret_cast<HWND>(1);
        EXPECT_EQ(GetSafeOwner(c.parent, &top), c.owner);
        EXPECT_EQ(top, c.top);
        EXPECT_EQ(::IsWindowEnabled(main.GetSafeHwnd()) == FALSE, c.top != nullptr);
        ::EnableWindow(main.GetSafeHwnd(), TRUE);
    }
    app.SetMainWindow(nullptr);
    HWND top = nullptr;
    EXPECT_EQ(GetSafeOwner(nullptr, &top), nullptr);
    ::DestroyWindow(popup);
}

}  // namespace
}  // namespace va::test
