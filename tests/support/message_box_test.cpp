#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "support/error_text.h"
#include "support/message_box.h"
#include "support/message_hooks.h"
#include "tests/common/box_watcher.h"

namespace {

using box_test::BoxWatcher;
using box_test::CanCreateWindows;

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { va::InstallDefaultMessageHooks(); }
    void TearDown() override
    {
        va::InstallDefaultMessageHooks();
        for (HWND w : windows_)
            ::DestroyWindow(w);
    }

    HWND MakeWindow(DWORD style, DWORD exStyle = 0)
    {
        HWND w = ::CreateWindowExW(exStyle, L"STATIC", L"owner", style, 0, 0, 200, 100, nullptr, nullptr,
                                   nullptr, nullptr);
        if (w)
            windows_.push_back(w);
        return w;
    }

    std::vector<HWND> windows_;
};

#define REQUIRE_WINDOWS()                                                        \
    if (!CanCreateWindows())                                                     \
    GTEST_SKIP() << "Wine has no window driver here (no X display, start Xvfb)"

TEST_F(MessageBoxTest, TypeGetsTheIconAndReadingOrderOfItsOwner)
{
    REQUIRE_WINDOWS();
    HWND rtl = MakeWindow(WS_OVERLAPPEDWINDOW, WS_EX_LAYOUTRTL);
    HWND ltr = MakeWindow(WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(rtl && ltr);

    struct Case {
        const char* what;
        HWND owner;
        bool userDefaultRtl;
        UINT type;
        UINT expected;
    };
    const Case cases[] = {
        {"right-to-left owner", rtl, false, MB_YESNO, MB_YESNO | MB_ICONQUESTION | MB_RTLREADING},
        {"owner decides over the user's language", ltr, true, MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {"no owner, right-to-left user language", nullptr, true, MB_OK | MB_ICONINFORMATION,
         MB_OK | MB_ICONINFORMATION | MB_RTLREADING},
        {"no owner, left-to-right user language", nullptr, false, MB_YESNOCANCEL,
         MB_YESNOCANCEL | MB_ICONQUESTION},
        {"retry keeps no icon", ltr, false, MB_RETRYCANCEL, MB_RETRYCANCEL},
    };
    for (const Case& c : cases) {
        va::SetOwnerHook([&c] { return va::OwnerWindows{c.owner, nullptr}; });
        va::SetUserDefaultRightToLeftSource([&c] { return c.userDefaultRtl; });
        va::MessageContext context(L"text", nullptr, c.type);
        EXPECT_EQ(context.Owner, c.owner) << c.what;
        EXPECT_EQ(context.Type, c.expected) << c.what;
    }
}

TEST_F(MessageBoxTest, WithoutOwnerHookTheThreadsFirstCaptionedWindowOwns)
{
    REQUIRE_WINDOWS();
    ASSERT_EQ(::GetActiveWindow(), nullptr) << "an earlier test left an active window";
    HWND captioned = MakeWindow(WS_OVERLAPPEDWINDOW, WS_EX_LAYOUTRTL);
    // Made later, so enumerated first; one bit of WS_CAPTION is not enough.
    HWND bordered = MakeWindow(WS_POPUP | WS_BORDER);
    ASSERT_TRUE(captioned && bordered);

    va::MessageContext context(L"text", nullptr, MB_OK);
    EXPECT_EQ(context.Owner, captioned);
    EXPECT_EQ(context.Top, nullptr);
    EXPECT_EQ(context.Type, UINT(MB_OK | MB_ICONEXCLAMATION | MB_RTLREADING));
}

TEST_F(MessageBoxTest, QuietModeReplacesOnlyBoxesWithTheOkButton)
{
    int modalCalls = 0;
    va::SetQuietHook([] { return true; });
    va::SetModalHook([&](bool) { ++modalCalls; });

    BoxWatcher watcher(IDOK);
    EXPECT_EQ(va::ShowMessage(L"unattended", MB_OK | MB_ICONINFORMATION), 1);
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(modalCalls, 0);

    va::MessageContext question(L"asked", nullptr, MB_YESNO);
    EXPECT_FALSE(question.Quiet);
    question.Close();
    EXPECT_EQ(modalCalls, 2);
}

TEST_F(MessageBoxTest, AFailingHookLeavesTheModalStateAsItWas)
{
    std::vector<bool> modal;
    va::SetModalHook([&](bool enable) { modal.push_back(enable); });
    va::SetOwnerHook([] { return va::OwnerWindows{}; });
    va::SetCaptionHook([]() -> std::wstring { throw std::runtime_error("no caption"); });
    EXPECT_THROW(va::ShowMessage(L"text", MB_YESNO), std::runtime_error);
    EXPECT_EQ(modal, (std::vector<bool>{false, true}));
}

TEST_F(MessageBoxTest, CaptionComesFromTheApplicationThenTheVersionThenTheFileName)
{
    struct Case {
        const wchar_t* applicationName;
        const wchar_t* versionText;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Installer \u2013 Trelvane 7.08g", L"Install 2.04a", L"Installer \u2013 Trelvane 7.08g"},
        {L"", L"Install 2.04a", L"Install 2.04a"},
        {nullptr, L"Install 2.04a", L"Install 2.04a"},
        {L"", L"", L"support_message_tests"},
        {nullptr, nullptr, L"support_message_tests"},
    };
    for (const Case& c : cases) {
        va::InstallDefaultMessageHooks();
        if (c.applicationName)
            va::SetApplicationNameSource([&c] { return std::wstring(c.applicationName); });
        if (c.versionText)
            va::SetOwnVersionTextSource([&c] { return std::wstring(c.versionText); });
        EXPECT_EQ(va::CaptionFromHook(), c.expected);
    }
    va::SetCaptionHook([] { return std::wstring(L"own"); });
    EXPECT_EQ(va::CaptionFromHook(), L"own");
}

TEST_F(MessageBoxTest, RealBoxTakesCaptionOwnerAndAnswer)
{
    REQUIRE_WINDOWS();
    HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW);
    HWND top = MakeWindow(WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(owner && top);
    ::EnableWindow(top, FALSE);  // as a safe-owner hook leaves it
    ::EnableWindow(owner, FALSE);

    std::vector<bool> modal;
    va::SetModalHook([&](bool enable) { modal.push_back(enable); });
    va::SetOwnerHook([=] { return va::OwnerWindows{owner, top}; });
    va::SetCaptionHook([] { return std::wstring(L"Installer \u2013 Trelvane 7.08g"); });

    BoxWatcher watcher(IDNO);
    ASSERT_TRUE(watcher.Hooked());
    EXPECT_EQ(va::ShowMessage(L"Do you confirm?", MB_YESNO), IDNO);

    ASSERT_EQ(watcher.Seen().size(), 1u);
    const auto& box = watcher.Seen()[0];
    EXPECT_EQ(box.caption, L"Installer \u2013 Trelvane 7.08g");
    EXPECT_EQ(box.text, L"Do you confirm?");
    EXPECT_EQ(box.icon, ::LoadIconW(nullptr, IDI_QUESTION));
    EXPECT_EQ(modal, (std::vector<bool>{false, true}));
    EXPECT_TRUE(::IsWindowEnabled(owner));
    EXPECT_TRUE(::IsWindowEnabled(top));
}

TEST_F(MessageBoxTest, TextByStringIdentifierAndErrorCodeBoxes)
{
    REQUIRE_WINDOWS();
    va::SetOwnerHook([] { return va::OwnerWindows{}; });
    BoxWatcher watcher(IDOK);
    EXPECT_EQ(va::ShowMessage(MAKEINTRESOURCEW(61704), MB_OK), IDOK);
    EXPECT_EQ(va::ShowErrorCode(ERROR_BUSY), IDOK);

    ASSERT_EQ(watcher.Seen().size(), 2u);
    EXPECT_EQ(watcher.Seen()[0].text, L"Internal application error.");
    EXPECT_EQ(watcher.Seen()[0].icon, ::LoadIconW(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(watcher.Seen()[1].text, va::ErrorText(ERROR_BUSY));
    EXPECT_EQ(watcher.Seen()[1].icon, ::LoadIconW(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(watcher.Seen()[1].caption, L"support_message_tests");
}

// Wine hands this thread's hook the activation of a window of another
// thread when, after a box closes, it tries the next window on the desktop
// (here asked for directly): that dialog is neither read nor answered.
TEST_F(MessageBoxTest, TheWatcherReadsAndAnswersOnlyTheBoxesOfItsOwnThread)
{
    REQUIRE_WINDOWS();
    va::SetOwnerHook([] { return va::OwnerWindows{}; });
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(ready, nullptr);
    std::atomic<HWND> other{nullptr};
    std::atomic<DWORD> otherThread{0};
    std::atomic<bool> otherAnswered{false};
    std::thread elsewhere([&] {
        otherThread = ::GetCurrentThreadId();
        other = ::CreateWindowExW(0, L"#32770", L"another thread's box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, nullptr, nullptr);
        ::SetEvent(ready);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_COMMAND && msg.hwnd == other)
                otherAnswered = true;
            ::DispatchMessageW(&msg);
        }
        ::DestroyWindow(other);
    });
    ::WaitForSingleObject(ready, INFINITE);
    ::CloseHandle(ready);
    std::vector<box_test::SeenBox> seen;
    int answer = 0;
    {
        BoxWatcher watcher(IDOK);
        if (other)
            ::SetActiveWindow(other);
        answer = va::ShowMessage(L"own box", MB_OK);
        seen = watcher.Seen();
    }
    // The other thread reads what was posted to it before it ends.
    ::PostThreadMessageW(otherThread, WM_QUIT, 0, 0);
    elsewhere.join();

    ASSERT_NE(other.load(), nullptr);
    EXPECT_EQ(answer, IDOK);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"own box");
    EXPECT_FALSE(otherAnswered);
}

struct TaskDialogSeen {
    bool constructed = false;
    LONG exStyle = 0;
    HICON smallIcon = nullptr;
    bool systemMenuStyle = false;
    bool closeItem = true;
    std::wstring title;
};

HRESULT CALLBACK RecordAndClose(HWND dialog, UINT notification, WPARAM, LPARAM, LONG_PTR data)
{
    auto* seen = reinterpret_cast<TaskDialogSeen*>(data);
    if (notification == TDN_DIALOG_CONSTRUCTED) {
        seen->constructed = true;
        seen->exStyle = ::GetWindowLongW(dialog, GWL_EXSTYLE);
        seen->smallIcon = reinterpret_cast<HICON>(::SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
        seen->systemMenuStyle = (::GetWindowLongW(dialog, GWL_STYLE) & WS_SYSMENU) != 0;
        HMENU menu = ::GetSystemMenu(dialog, FALSE);
        seen->closeItem = menu && ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) != UINT(-1);
        wchar_t title[256] = {};
        ::GetWindowTextW(dialog, title, 256);
        seen->title = title;
    }
    if (notification == TDN_CREATED)
        ::PostMessageW(dialog, TDM_CLICK_BUTTON, IDCANCEL, 0);
    return S_OK;
}

TEST_F(MessageBoxTest, TaskDialogTakesTheApplicationIconAndLosesItsCloseItem)
{
    REQUIRE_WINDOWS();
    HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    va::SetIconHook([icon] { return icon; });
    va::SetCaptionHook([] { return std::wstring(L"Installer"); });
    va::SetOwnerHook([] { return va::OwnerWindows{}; });

    TaskDialogSeen seen;
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof(config);
    config.dwCommonButtons = TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON;
    config.pszContent = L"content";
    config.pfCallback = RecordAndClose;
    config.lpCallbackData = reinterpret_cast<LONG_PTR>(&seen);

    int button = 0;
    const HRESULT result = va::ShowTaskDialog(config, &button);
    ASSERT_EQ(result, S_OK);
    EXPECT_EQ(button, IDCANCEL);
    if (!seen.constructed)
        GTEST_SKIP() << "this Wine's task dialog sends no TDN_DIALOG_CONSTRUCTED";
    EXPECT_EQ(seen.title, L"Installer");
    EXPECT_EQ(seen.smallIcon, icon);
    EXPECT_TRUE(seen.systemMenuStyle);
    EXPECT_FALSE(seen.closeItem);
    EXPECT_FALSE(seen.exStyle & WS_EX_LAYOUTRTL);
}

TEST_F(MessageBoxTest, TaskDialogWithoutOwnerFollowsTheInterfaceLanguagesDirection)
{
    REQUIRE_WINDOWS();
    va::SetOwnerHook([] { return va::OwnerWindows{}; });
    va::SetCurrentRightToLeftSource([] { return true; });

    TaskDialogSeen seen;
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof(config);
    config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    config.pszContent = L"content";
    config.pfCallback = RecordAndClose;
    config.lpCallbackData = reinterpret_cast<LONG_PTR>(&seen);
    ASSERT_EQ(va::ShowTaskDialog(config), S_OK);
    if (!seen.constructed)
        GTEST_SKIP() << "this Wine's task dialog sends no TDN_DIALOG_CONSTRUCTED";
    if (!(seen.exStyle & WS_EX_LAYOUTRTL))
        GTEST_SKIP() << "this Wine's task dialog ignores TDF_RTL_LAYOUT";
    SUCCEED();
}

}  // namespace
