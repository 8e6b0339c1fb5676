// Drives a running installer's wizard from a script, one step per call, for
// the screenshots of scripts/screenshot-pages.sh.
//
//   wizard_pilot prepare       nothing installed, English persisted
//   wizard_pilot wait          waits for the wizard; prints the place of
//                              its client area as WIDTHxHEIGHT+X+Y
//   wizard_pilot language N    picks item N of the language list
//   wizard_pilot next | back   presses Next or Back
//   wizard_pilot advanced      chooses the advanced installation (Mode page)
//   wizard_pilot install       presses Install and waits for the end of the run
//   wizard_pilot exit          presses Exit and confirms
//   wizard_pilot clean         removes what prepare and an installation wrote

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/common/installed_product.h"
#include "tests/common/scratch_registry.h"
#include "tests/driver/driver.h"
#include "tests/wizard/wizard_pages.h"

namespace {

using namespace va::test;

struct Found {
    HWND host = nullptr;
};

BOOL CALLBACK FindHost(HWND window, LPARAM context)
{
    if (::IsWindowVisible(window) && ClassName(window) == L"#32770" && IsHost(window)) {
        reinterpret_cast<Found*>(context)->host = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForHost()
{
    for (int i = 0; i < 3000; ++i) {
        Found found;
        ::EnumWindows(FindHost, reinterpret_cast<LPARAM>(&found));
        if (found.host)
            return found.host;
        ::Sleep(100);
    }
    return nullptr;
}

// Every change handled and painted before the script takes its picture.
void Settle(HWND host)
{
    ::SendMessageW(host, WM_NULL, 0, 0);
    ::RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::SendMessageW(host, WM_NULL, 0, 0);
}

bool PressAndWait(HWND host, int button)
{
    const int before = VisiblePage(host);
    PressButton(host, button);
    for (int i = 0; i < 3000; ++i) {
        if (VisiblePage(host) != before)
            return true;
        ::Sleep(100);
    }
    return false;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "wizard_pilot: %s\n", what);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring step = argc > 1 ? argv[1] : L"";
    if (step == L"prepare") {
        RemoveProductKeys();
        return WriteDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", 1) ? 0 : Fail("registry");
    }
    if (step == L"clean") {
        RemoveInstalledProduct();
        return 0;
    }
    HWND host = WaitForHost();
    if (!host)
        return Fail("no wizard");
    if (step == L"wait") {
        Settle(host);
        // The client area: without a window manager nobody draws the frame.
        RECT r{};
        ::GetClientRect(host, &r);
        ::MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&r), 2);
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        return 0;
    }
    if (step == L"language" && argc > 2) {
        const std::wstring caption = WindowText(host);
        SelectComboItem(PageOf(host, 0), IDC_LANGUAGE_LIST, _wtoi(argv[2]));
        for (int i = 0; i < 3000 && WindowText(host) == caption; ++i)
            ::Sleep(100);
        Settle(host);
        return 0;
    }
    if (step == L"next" || step == L"back") {
        if (!PressAndWait(host, step == L"next" ? IDOK : IDC_BACK))
            return Fail("the page did not change");
        Settle(host);
        return 0;
    }
    if (step == L"advanced") {
        ::SendMessageW(::GetDlgItem(PageOf(host, 1), IDC_ADVANCED), BM_CLICK, 0, 0);
        Settle(host);
        return 0;
    }
    if (step == L"install") {
        if (!RunInstallation(host))
            return Fail("the installation did not end");
        Settle(host);
        return 0;
    }
    if (step == L"exit") {
        PressButton(host, IDCANCEL);
        for (int i = 0; i < 3000 && ::IsWindow(host); ++i) {
            DWORD processId = 0;
            ::GetWindowThreadProcessId(host, &processId);
            for (HWND dialog : DialogsOf(processId)) {
                if (IsMessageBox(dialog))
                    PressButton(dialog, IDYES);
            }
            ::Sleep(100);
        }
        return ::IsWindow(host) ? Fail("the wizard did not close") : 0;
    }
    return Fail("usage: wizard_pilot prepare|wait|language N|next|back|advanced|install|exit|clean");
}
