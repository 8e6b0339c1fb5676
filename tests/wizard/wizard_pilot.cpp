// Drives a running installer's wizard from a script, one step per call, for
// the screenshots of scripts/screenshot-pages.sh and the run command
// (scripts/run.sh).
//
//   wizard_pilot prepare       nothing installed, English persisted
//   wizard_pilot state         prints what a start would be: "fresh
//                              installation", "reinstallation", ...
//   wizard_pilot wait          waits for the wizard; prints the place of
//                              its client area as WIDTHxHEIGHT+X+Y
//   wizard_pilot language N    picks item N of the language list
//   wizard_pilot next | back   presses Next or Back
//   wizard_pilot advanced      chooses the advanced installation (Mode page)
//   wizard_pilot install       presses Install and waits for the end of the
//                              run; fails when the installation failed
//   wizard_pilot progress      prints the Install page's text and status
//   wizard_pilot about         opens the About box; prints its place
//   wizard_pilot close-about   closes it
//   wizard_pilot ask-exit      presses Exit; prints the place of the question
//   wizard_pilot answer-no     answers the question No
//   wizard_pilot exit          presses Exit and confirms
//   wizard_pilot report        prints what the installation left
//   wizard_pilot clean         removes what prepare and an installation wrote

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/common/installed_product.h"
#include "tests/common/scratch_registry.h"
#include "tests/driver/driver.h"
#include "tests/wizard/installation_report.h"
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

constexpr UINT kAboutCommand = 0x10;

// The place of a window's client area as WIDTHxHEIGHT+X+Y (without a
// window manager nobody draws the frame).
void PrintPlace(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
}

// Text for the terminal, in UTF-8, lines ending with the terminal's break.
void Print(const std::wstring& text)
{
    std::wstring plain;
    for (wchar_t c : text) {
        if (c != L'\r')
            plain += c;
    }
    const int size = static_cast<int>(plain.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, plain.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, plain.data(), size, bytes.data(), needed, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

DWORD ProcessOf(HWND window)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

// A dialog of the installer other than the host that `match` accepts.
HWND WaitForOther(HWND host, bool (*match)(HWND))
{
    return WaitForDialog(ProcessOf(host), [host, match](HWND d) { return d != host && match(d); });
}

bool IsAboutBox(HWND dialog)
{
    return ::GetDlgItem(dialog, IDC_ABOUT_PRODUCT) != nullptr;
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
    if (step == L"state") {
        Print(InstalledState() + L"\n");
        return 0;
    }
    if (step == L"report") {
        Print(InstallationReport(argc > 2 ? _wtoi(argv[2]) : 12));
        return 0;
    }
    HWND host = WaitForHost();
    if (!host)
        return Fail("no wizard");
    if (step == L"wait") {
        Settle(host);
        PrintPlace(host);
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
        // After a success Back stays disabled on the Install page.
        return IsControlEnabled(host, IDC_BACK) ? Fail("the installation failed") : 0;
    }
    if (step == L"progress") {
        HWND page = PageOf(host, 4);
        Print(ControlText(page, IDC_PROGRESS_TEXT) + L"\n" + ControlText(page, IDC_STATUS) + L"\n");
        return 0;
    }
    if (step == L"about") {
        ::PostMessageW(host, WM_SYSCOMMAND, kAboutCommand, 0);
        HWND about = WaitForOther(host, IsAboutBox);
        if (!about || !WaitUntilSettled(about))
            return Fail("no About box");
        Settle(about);
        PrintPlace(about);
        return 0;
    }
    if (step == L"close-about") {
        HWND about = WaitForOther(host, IsAboutBox);
        if (!about)
            return Fail("no About box");
        PressButton(about, IDOK);
        return WaitUntilGone(about) ? 0 : Fail("the About box stays");
    }
    if (step == L"ask-exit") {
        PressButton(host, IDCANCEL);
        HWND box = WaitForOther(host, IsMessageBox);
        if (!box || !WaitUntilSettled(box))
            return Fail("no question");
        Settle(box);
        PrintPlace(box);
        return 0;
    }
    if (step == L"answer-no") {
        HWND box = WaitForOther(host, IsMessageBox);
        if (!box)
            return Fail("no question");
        PressButton(box, IDNO);
        return WaitUntilGone(box) ? 0 : Fail("the question stays");
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
    return Fail("usage: wizard_pilot prepare|state|wait|language N|next|back|advanced|install|progress|about|"
                "close-about|ask-exit|answer-no|exit|report [LINES]|clean");
}
