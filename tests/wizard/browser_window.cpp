#include "tests/wizard/browser_window.h"

namespace va::test {
namespace {

struct ChildSearch {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchChildClass(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (_wcsicmp(ClassName(child).c_str(), search->className) != 0)
        return TRUE;
    search->found = child;
    return FALSE;
}

}  // namespace

HWND FirstChildOfClass(HWND parent, const wchar_t* className)
{
    ChildSearch search{className, nullptr};
    ::EnumChildWindows(parent, MatchChildClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForBrowser(const Process& process)
{
    return WaitForDialog(process, [](HWND w) { return FirstChildOfClass(w, L"SysTreeView32") != nullptr; });
}

std::wstring ProposalOf(HWND browser)
{
    HWND edit = FirstChildOfClass(browser, L"Edit");
    return edit ? WindowText(edit) : L"<no edit box>";
}

void PressTreeKey(HWND browser, UINT key)
{
    HWND tree = FirstChildOfClass(browser, L"SysTreeView32");
    const std::wstring before = ProposalOf(browser);
    ::SendMessageW(tree, WM_KEYDOWN, key, 0);
    ::SendMessageW(tree, WM_KEYUP, key, 0xC0000000);
    // The tree may report its new selection after the key's message has
    // returned; a key that only opens a branch changes nothing, hence the limit.
    for (int i = 0; i < 40 && ProposalOf(browser) == before; ++i)
        ::Sleep(50);
    WaitUntilSettled(browser);
}

void TypeProposal(HWND browser, const std::wstring& text)
{
    // The system carries WM_SETTEXT's text into the other process.
    ::SendMessageW(FirstChildOfClass(browser, L"Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND WaitForBoxOrClose(DWORD processId, HWND browser)
{
    const ULONGLONG end = ::GetTickCount64() + kDefaultLimitMs;
    while (::GetTickCount64() < end && ::IsWindow(browser)) {
        for (HWND dialog : DialogsOf(processId)) {
            if (::GetDlgItem(dialog, 0xFFFF) && ::GetWindow(dialog, GW_OWNER) == browser)
                return dialog;
        }
        ::Sleep(50);
    }
    return nullptr;
}

}  // namespace va::test
