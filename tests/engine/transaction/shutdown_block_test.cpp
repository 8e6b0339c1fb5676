#include <gtest/gtest.h>

#include <windows.h>

#include "engine/transaction/shutdown_block.h"

namespace va {
namespace {

bool MayEndSession(HWND window)
{
    return ::SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != FALSE;
}

UniqueWindow TopLevelWindow()
{
    return UniqueWindow(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr));
}

TEST(ShutdownBlock, GivenWindowRefusesTheEndOfTheSessionForItsLifetime)
{
    UniqueWindow window = TopLevelWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(MayEndSession(window.get()));
    {
        const ShutdownBlock block(window.get(), L"Trelvane 7.08g");
        EXPECT_EQ(block.window(), window.get());
        EXPECT_FALSE(MayEndSession(window.get()));
    }
    EXPECT_TRUE(MayEndSession(window.get()));
}

TEST(ShutdownBlock, WithoutWindowAHiddenTopLevelOneAnswersAndGoesAfterwards)
{
    HWND own = nullptr;
    {
        const ShutdownBlock block(nullptr, L"Trelvane 7.08g");
        own = block.window();
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(::GetAncestor(own, GA_ROOT), own);
        EXPECT_EQ(::GetParent(own), nullptr);
        EXPECT_FALSE(::IsWindowVisible(own));
        EXPECT_FALSE(MayEndSession(own));
    }
    EXPECT_FALSE(::IsWindow(own));
}

// What the system shows beside the program while it waits.
TEST(ShutdownBlock, TellsTheSystemTheReason)
{
    using Query = BOOL(WINAPI*)(HWND, LPWSTR, DWORD*);
    const auto query =
        reinterpret_cast<Query>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonQuery")));
    if (!query)
        GTEST_SKIP() << "this platform has no ShutdownBlockReasonQuery to read the reason back";
    UniqueWindow window = TopLevelWindow();
    ASSERT_TRUE(window);
    {
        const ShutdownBlock block(window.get(), L"Trelvane 7.08g");
        wchar_t reason[64] = {};
        DWORD size = 64;
        ASSERT_TRUE(query(window.get(), reason, &size)) << ::GetLastError();
        EXPECT_STREQ(reason, L"Trelvane 7.08g");
    }
    DWORD size = 0;
    EXPECT_FALSE(query(window.get(), nullptr, &size)) << "the reason outlived the block";
}

}  // namespace
}  // namespace va
