// The wizard host run inside the test: what another process cannot read
// (the system menu), a language that is written right to left, and a page
// larger than the page area (this program's Mode page is).

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "installer/install_app.h"
#include "identity/core/install_kind.h"
#include "languages/languages.h"
#include "resources/installer_ids.h"
#include "support/resource_string.h"
#include "tests/driver/driver.h"
#include "tests/wizard/wizard_pages.h"
#include "wizard/install_dlg.h"

namespace va::test {
namespace {

constexpr UINT kAboutCommand = 0x10;

std::wstring Message(unsigned block, unsigned message)
{
    return LoadResourceString(nullptr, block + message);
}

std::wstring AboutText(unsigned block)
{
    std::wstring text = Message(block, 3);
    text.replace(text.find(L"%1"), 2, Message(block, 0));
    return text;
}

// Where the dialog manager puts a control of the template at x, y with
// width cx and height cy: each of the four mapped on its own.
RECT DialogUnits(HWND dialog, int x, int y, int cx, int cy)
{
    RECT mapped{x, y, cx, cy};
    ::MapDialogRect(dialog, &mapped);
    return {mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

INT_PTR CALLBACK PassiveProcedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// Runs the host modally on this thread while `user` plays the user on its
// own; `user` must close the wizard.  Exit closes at once: a newer version
// counts as installed.
class HostInProcess : public testing::Test {
protected:
    void SetUp() override
    {
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (!probe)
            GTEST_SKIP() << "no window station: start Xvfb and set DISPLAY";
        ::DestroyWindow(probe);
        app_.InstallKind = NewerInstalled;
    }
    void TearDown() override { SetLanguage(kEnglish); }

    void Run(const std::function<void(HWND host)>& user)
    {
        CInstallDlg host;
        std::thread player([&] {
            HWND window = WaitForDialog(::GetCurrentProcessId(), IsHost);
            if (!window) {
                ADD_FAILURE() << "the host did not open";
                return;
            }
            user(window);
            if (::IsWindow(window))
                PressButton(window, IDCANCEL);
        });
        host.DoModal();
        player.join();
    }

    CInstallApp app_;
};

TEST_F(HostInProcess, AboutEntryFollowsTheReadingDirectionAndMaximiseAndSizeAreGone)
{
    struct Case {
        LanguageIndex language;
        unsigned block;  // the texts the language shows
        bool rightToLeft;
    };
    const Case cases[] = {{kEnglish, 2000, false}, {2, 3000, false}, {kHebrew, 2000, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        SetLanguage(c.language);
        if (c.rightToLeft && !CurrentLanguage().RightToLeft)
            GTEST_SKIP() << "this system's locale data does not mark Hebrew as written right to left";
        EXPECT_EQ(CurrentLanguage().RightToLeft, c.rightToLeft);
        std::optional<std::vector<MenuItem>> menu;
        Run([&](HWND host) { menu = SystemMenuItems(host); });
        ASSERT_TRUE(menu.has_value());
        ASSERT_GE(menu->size(), 2u);
        EXPECT_EQ((*menu)[menu->size() - 2].command, 0u) << "no separator before the About entry";
        EXPECT_EQ(menu->back().command, kAboutCommand);
        const std::wstring about = AboutText(c.block);
        EXPECT_EQ(menu->back().text, c.rightToLeft ? L"..." + about : L"&" + about + L"...");
        for (const MenuItem& item : *menu) {
            EXPECT_NE(item.command, static_cast<UINT>(SC_MAXIMIZE));
            EXPECT_NE(item.command, static_cast<UINT>(SC_SIZE));
        }
    }
}

TEST_F(HostInProcess, ChoosingGermanRelabelsTheAboutEntry)
{
    SetLanguage(kEnglish);
    std::optional<std::vector<MenuItem>> menu;
    Run([&](HWND host) {
        SelectComboItem(PageOf(host, 0), IDC_LANGUAGE_LIST, 2);
        const std::wstring german = Message(3000, 0) + L" \u2013 Trelvane 7.08g";
        for (int i = 0; i < 600 && WindowText(host) != german; ++i)
            ::Sleep(100);
        ::SendMessageW(host, WM_NULL, 0, 0);
        menu = SystemMenuItems(host);
    });
    ASSERT_TRUE(menu.has_value());
    ASSERT_FALSE(menu->empty());
    EXPECT_EQ(menu->back().text, L"&" + AboutText(3000) + L"...");
    EXPECT_EQ(CurrentLanguage().Index, 2);
}

TEST_F(HostInProcess, MinimiseAndRestoreAreOfferedByTheWindowsState)
{
    SetLanguage(kEnglish);
    struct States {
        bool minimiseGrey, restoreGrey;
    };
    States normal{}, minimised{};
    bool iconic = false;
    Run([&](HWND host) {
        HMENU menu = ::GetSystemMenu(host, FALSE);
        const auto read = [&] {
            ::SendMessageW(host, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
            return States{(::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED) != 0,
                          (::GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED) != 0};
        };
        normal = read();
        ::ShowWindow(host, SW_MINIMIZE);
        for (int i = 0; i < 600 && !::IsIconic(host); ++i)
            ::Sleep(100);
        // Without a window manager the X server may give the window back
        // at any moment: the reading counts only if it stayed minimised.
        iconic = ::IsIconic(host) != FALSE;
        minimised = read();
        iconic = iconic && ::IsIconic(host) != FALSE;
        ::ShowWindow(host, SW_RESTORE);
    });
    EXPECT_FALSE(normal.minimiseGrey);
    EXPECT_TRUE(normal.restoreGrey);
    if (!iconic)
        GTEST_SKIP() << "the window could not be minimised here (no window manager under Xvfb)";
    EXPECT_TRUE(minimised.minimiseGrey);
    EXPECT_FALSE(minimised.restoreGrey);
}

TEST_F(HostInProcess, ALargerPageEnlargesTheHostOnceAndEveryPageAndButtonFollows)
{
    SetLanguage(kEnglish);
    Run([&](HWND host) {
        HWND mode = PageOf(host, 1);
        ASSERT_NE(mode, nullptr);
        // The host's template as the dialog manager makes it, before any layout.
        HWND copy = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_INSTALL), nullptr,
                                         PassiveProcedure, 0);
        ASSERT_NE(copy, nullptr);
        const auto plainRect = [copy](int id) { return RectIn(copy, ::GetDlgItem(copy, id)); };
        RECT plain{};
        ::GetClientRect(copy, &plain);
        const RECT band = plainRect(IDC_SIDE_BAND);
        const RECT plainLine = plainRect(IDC_SEPARATOR);
        const RECT plainButtons[] = {plainRect(IDC_BACK), plainRect(IDOK), plainRect(IDCANCEL)};
        ::DestroyWindow(copy);

        RECT client{};
        ::GetClientRect(host, &client);
        const RECT largest = DialogUnits(mode, 0, 0, 320, 150);
        const int dx = largest.right - (plain.right - band.right);
        const int dy = largest.bottom - plainLine.top;
        ASSERT_GT(dx, 0);
        ASSERT_GT(dy, 0);
        EXPECT_EQ(client.right, plain.right + dx);
        EXPECT_EQ(client.bottom, plain.bottom + dy);

        // The band, the line and the buttons keep their places relative to
        // the edges they belong to.
        EXPECT_EQ(RectIn(host, ::GetDlgItem(host, IDC_SIDE_BAND)).bottom, band.bottom + dy);
        const RECT line = RectIn(host, ::GetDlgItem(host, IDC_SEPARATOR));
        EXPECT_EQ(line.top, plainLine.top + dy);
        EXPECT_EQ(line.right, plainLine.right + dx);
        const int buttons[] = {IDC_BACK, IDOK, IDCANCEL};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(buttons[i]);
            const RECT r = RectIn(host, ::GetDlgItem(host, buttons[i]));
            EXPECT_EQ(client.right - r.right, plain.right - plainButtons[i].right);
            EXPECT_EQ(client.bottom - r.bottom, plain.bottom - plainButtons[i].bottom);
        }

        // Every page fills the same area, and its status line keeps its
        // distance to the page's right and bottom edges.
        struct Page {
            int width, height, statusRight, statusBottom;  // of its template
        };
        const Page pages[] = {{251, 84, 244, 77},  {320, 150, 272, 75}, {278, 86, 271, 79},
                              {278, 105, 271, 98}, {219, 97, 212, 90},  {242, 56, 235, 49}};
        for (int index = 0; index < 6; ++index) {
            SCOPED_TRACE(index);
            const Page& p = pages[index];
            HWND page = PageOf(host, index);
            ASSERT_NE(page, nullptr);
            const RECT r = RectIn(host, page);
            EXPECT_EQ(r.left, band.right);
            EXPECT_EQ(r.top, 0);
            EXPECT_EQ(r.right, client.right);
            EXPECT_EQ(r.bottom, line.top);
            const RECT status = RectIn(page, ::GetDlgItem(page, IDC_STATUS));
            const RECT size = DialogUnits(page, 0, 0, p.width, p.height);
            const RECT made = DialogUnits(page, 7, p.statusBottom - 8, p.statusRight - 7, 8);
            EXPECT_EQ((r.right - r.left) - status.right, size.right - made.right);
            EXPECT_EQ((r.bottom - r.top) - status.bottom, size.bottom - made.bottom);
        }
    });
}

TEST_F(HostInProcess, NoLeavingWhileExitIsDisabled)
{
    SetLanguage(kEnglish);
    bool stayed = false;
    Run([&](HWND host) {
        // As while the installation runs.
        ::EnableWindow(::GetDlgItem(host, IDCANCEL), FALSE);
        SendButtonCommand(host, IDCANCEL);
        ::SendMessageW(host, WM_CLOSE, 0, 0);
        ::SendMessageW(host, WM_NULL, 0, 0);
        stayed = ::IsWindow(host) && ::IsWindowVisible(host);
        ::EnableWindow(::GetDlgItem(host, IDCANCEL), TRUE);
    });
    EXPECT_TRUE(stayed);
}

}  // namespace
}  // namespace va::test
