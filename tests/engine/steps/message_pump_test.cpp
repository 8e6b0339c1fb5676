#include <windows.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/steps/directx_setup.h"
#include "support/message_pump.h"
#include "support/handles.h"

namespace va::test {
namespace {

std::vector<UINT> g_dispatched;
std::vector<UINT> g_offered;

LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_APP)
        g_dispatched.push_back(message);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool ConsumesAppPlusOne(MSG* message)
{
    g_offered.push_back(message->message);
    return message->message == WM_APP + 1;
}

class MessagePump : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Recorder;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TvPumpRecorder";
        ::RegisterClassW(&windowClass);
        window_ = ::CreateWindowExW(0, L"TvPumpRecorder", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        Drain();
        g_dispatched.clear();
        g_offered.clear();
    }
    void TearDown() override
    {
        SetPreTranslateHook(nullptr);
        ::DestroyWindow(window_);
        Drain();
    }
    static void Drain()
    {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND window_ = nullptr;
};

TEST_F(MessagePump, DispatchesWhatWaitsAndOffersItToThePreTranslationFirst)
{
    SetPreTranslateHook(ConsumesAppPlusOne);
    ::PostMessageW(window_, WM_APP, 0, 0);
    ::PostMessageW(window_, WM_APP + 1, 0, 0);
    ::PostMessageW(window_, WM_APP + 2, 0, 0);

    PumpMessages();
    EXPECT_EQ(g_offered, (std::vector<UINT>{WM_APP, WM_APP + 1, WM_APP + 2}));
    EXPECT_EQ(g_dispatched, (std::vector<UINT>{WM_APP, WM_APP + 2})) << "a consumed message is not dispatched";
}

TEST_F(MessagePump, AQuitMessageIsPostedAgainAndEndsThePump)
{
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_QUIT, 42, 0);
    ::PostMessageW(window_, WM_APP, 0, 0);

    PumpMessages();
    EXPECT_TRUE(g_dispatched.empty()) << "nothing after the quit message is handled";

    MSG message;
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_APP));
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 42u);
}

TEST_F(MessagePump, TheSetUpCallbackPumpsOnlyOnProgressReportsAndAlwaysAnswersOne)
{
    ::PostMessageW(window_, WM_APP, 0, 0);
    for (DWORD reason : {0u, 1u, 17u, 19u}) {
        EXPECT_EQ(DirectXSetupCallback(reason, 0, nullptr, nullptr, nullptr), 1u);
        EXPECT_TRUE(g_dispatched.empty()) << "reason " << reason;
    }
    EXPECT_EQ(DirectXSetupCallback(18, 0, nullptr, nullptr, nullptr), 1u);
    EXPECT_EQ(g_dispatched, std::vector<UINT>{WM_APP});
}

HANDLE g_signal = nullptr;
bool SignalsOnAppPlusFive(MSG* message)
{
    if (message->message == WM_APP + 5)
        ::SetEvent(g_signal);
    return false;
}

// The wait handles the thread's messages (the one that ends it here) and
// returns once the object is signalled.
TEST_F(MessagePump, AWaitHandlesMessagesUntilItsObjectIsSignalled)
{
    UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_signal = event.get();
    SetPreTranslateHook(SignalsOnAppPlusFive);
    ASSERT_TRUE(::PostMessageW(window_, WM_APP + 5, 0, 0));
    EXPECT_EQ(WaitPumpingMessages(event.get()), DWORD{WAIT_OBJECT_0});
    EXPECT_EQ(g_dispatched, std::vector<UINT>{WM_APP + 5});

    // After a quit message it only waits, and the quit stays for the caller.
    ::ResetEvent(event.get());
    ::PostQuitMessage(4);
    std::thread later([&event] { ::SetEvent(event.get()); });
    EXPECT_EQ(WaitPumpingMessages(event.get()), DWORD{WAIT_OBJECT_0});
    later.join();
    MSG message;
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, WPARAM{4});
}

}  // namespace
}  // namespace va::test
