#pragma once
// Watches the dialog boxes this thread opens and answers them at once, so a
// test can show a real box without anybody clicking.  The box is read when
// it is activated, then the chosen button is posted to it.  Only this
// thread's own boxes count, each once: the hook also hears of other windows
// (Wine, closing a box, offers the activation to the next window on the
// desktop, which may be another program's box) and of the same box again.

#include <windows.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace box_test {

struct SeenBox {
    std::wstring caption;
    std::wstring text;  // the texts of its non-icon statics, joined by '\n'
    HICON icon = nullptr;
    LONG exStyle = 0;
};

// Windows can only be made with a display (Xvfb for the tests).
inline bool CanCreateWindows()
{
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!probe)
        return false;
    ::DestroyWindow(probe);
    return true;
}

class BoxWatcher {
public:
    explicit BoxWatcher(int answer) : answer_(answer), thread_(::GetCurrentThreadId())
    {
        current_ = this;
        hook_ = ::SetWindowsHookExW(WH_CBT, &BoxWatcher::Hook, nullptr, thread_);
    }
    ~BoxWatcher()
    {
        if (hook_)
            ::UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    const std::vector<SeenBox>& Seen() const { return seen_; }

private:
    static BOOL CALLBACK ReadChild(HWND child, LPARAM data)
    {
        auto* box = reinterpret_cast<SeenBox*>(data);
        wchar_t className[32] = {};
        ::GetClassNameW(child, className, 32);
        if (lstrcmpiW(className, L"Static") != 0)
            return TRUE;
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) {
            box->icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
            return TRUE;
        }
        wchar_t text[1024] = {};
        ::GetWindowTextW(child, text, 1024);
        if (!text[0])
            return TRUE;
        if (!box->text.empty())
            box->text += L'\n';
        box->text += text;
        return TRUE;
    }

    // A box of this thread, seen for the first time.
    bool FirstSightOfOwnBox(HWND window)
    {
        DWORD processId = 0;
        const DWORD threadId = window ? ::GetWindowThreadProcessId(window, &processId) : 0;
        if (threadId != thread_ || processId != ::GetCurrentProcessId())
            return false;
        wchar_t className[32] = {};
        ::GetClassNameW(window, className, 32);
        return lstrcmpW(className, L"#32770") == 0 && counted_.insert({window, processId, threadId}).second;
    }

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        BoxWatcher* self = current_;
        if (code == HCBT_ACTIVATE && self) {
            HWND window = reinterpret_cast<HWND>(wParam);
            if (self->FirstSightOfOwnBox(window)) {
                SeenBox box;
                wchar_t caption[512] = {};
                ::GetWindowTextW(window, caption, 512);
                box.caption = caption;
                box.exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
                ::EnumChildWindows(window, &BoxWatcher::ReadChild, reinterpret_cast<LPARAM>(&box));
                self->seen_.push_back(box);
                ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(self->answer_, BN_CLICKED), 0);
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline BoxWatcher* current_ = nullptr;
    int answer_;
    DWORD thread_;
    HHOOK hook_ = nullptr;
    std::set<std::tuple<HWND, DWORD, DWORD>> counted_;
    std::vector<SeenBox> seen_;
};

}  // namespace box_test
