// The real wizard's window: its layout against the template it is made
// from, a maximise that changes nothing, its system menu and the About box.

#include "tests/wizard/wizard_fixture.h"

namespace va::test {
namespace {

constexpr UINT kAboutCommand = 0x10;

INT_PTR CALLBACK PassiveProcedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

class WizardWindow : public InstallerWizard {};

TEST_F(WizardWindow, GrowsOnceToHoldTheLargestPageWithButtonsKeepingTheirDistanceToTheEdges)
{
    HWND host = Start();
    ASSERT_NE(host, nullptr);

    // The host's template as it is before any layout, made here from the
    // installer's own resources.
    UniqueModule resources(::LoadLibraryExW(InstallerProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(resources);
    HWND plain = ::CreateDialogParamW(resources.get(), MAKEINTRESOURCEW(IDD_INSTALL), nullptr, PassiveProcedure, 0);
    ASSERT_NE(plain, nullptr);
    RECT plainClient{}, client{};
    ::GetClientRect(plain, &plainClient);
    ::GetClientRect(host, &client);
    const RECT plainBand = RectIn(plain, ::GetDlgItem(plain, IDC_SIDE_BAND));
    const RECT plainLine = RectIn(plain, ::GetDlgItem(plain, IDC_SEPARATOR));

    // The widest page (Mode) is wider than the room the template leaves.
    const int dx = client.right - plainClient.right;
    const int dy = client.bottom - plainClient.bottom;
    EXPECT_GT(dx, 0);
    EXPECT_GE(dy, 0);

    // Every page fills one area: right of the band, above the line, up to
    // the right edge.
    const RECT line = RectIn(host, ::GetDlgItem(host, IDC_SEPARATOR));
    const RECT band = RectIn(host, ::GetDlgItem(host, IDC_SIDE_BAND));
    for (int index = 0; index < 6; ++index) {
        SCOPED_TRACE(index);
        const RECT page = RectIn(host, PageOf(host, index));
        EXPECT_EQ(page.left, plainBand.right);
        EXPECT_EQ(page.top, 0);
        EXPECT_EQ(page.right, client.right);
        EXPECT_EQ(page.bottom, line.top);
    }
    EXPECT_EQ(band.bottom, plainBand.bottom + dy);
    EXPECT_EQ(line.right, plainLine.right + dx);
    EXPECT_EQ(line.top, plainLine.top + dy);
    for (int button : {IDC_BACK, IDOK, IDCANCEL}) {
        SCOPED_TRACE(button);
        const RECT plainButton = RectIn(plain, ::GetDlgItem(plain, button));
        const RECT moved = RectIn(host, ::GetDlgItem(host, button));
        EXPECT_EQ(client.right - moved.right, plainClient.right - plainButton.right);
        EXPECT_EQ(client.bottom - moved.bottom, plainClient.bottom - plainButton.bottom);
        EXPECT_EQ(moved.right - moved.left, plainButton.right - plainButton.left);
    }
    ::DestroyWindow(plain);

    // Once: moving through the pages and relabelling leave the size alone.
    RECT before{};
    ::GetWindowRect(host, &before);
    ASSERT_TRUE(Press(IDOK, 1));
    ASSERT_TRUE(Press(IDC_BACK, 0));
    RECT after{};
    ::GetWindowRect(host, &after);
    EXPECT_TRUE(::EqualRect(&before, &after));
    ExitWizard();
}

TEST_F(WizardWindow, MaximisingChangesNeitherSizeNorPlace)
{
    HWND host = Start();
    ASSERT_NE(host, nullptr);
    RECT before{};
    ::GetWindowRect(host, &before);
    ::SendMessageW(host, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    RECT after{};
    ::GetWindowRect(host, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    ExitWizard();
}

TEST_F(WizardWindow, SystemMenuEndsWithTheAboutEntryAndOffersNeitherMaximiseNorSize)
{
    HWND host = Start();
    ASSERT_NE(host, nullptr);
    const std::optional<std::vector<MenuItem>> menu = SystemMenuItems(host);
    ExitWizard();
    if (!menu)
        GTEST_SKIP() << "another process's menu cannot be read here (Wine keeps menus per process); "
                        "the host tests read it in-process";
    ASSERT_GE(menu->size(), 2u);
    EXPECT_EQ((*menu)[menu->size() - 2].command, 0u) << "no separator before the About entry";
    EXPECT_EQ(menu->back().command, kAboutCommand);
    EXPECT_EQ(menu->back().text, L"&" + Fill(Text(kEnglishBlock, 3), {Text(kEnglishBlock, 0)}) + L"...");
    for (const MenuItem& item : *menu) {
        EXPECT_NE(item.command, static_cast<UINT>(SC_MAXIMIZE));
        EXPECT_NE(item.command, static_cast<UINT>(SC_SIZE));
    }
}

TEST_F(WizardWindow, AboutBoxShowsTheInstallersVersionLegalNoticeAndContacts)
{
    HWND host = Start();
    ASSERT_NE(host, nullptr);
    ::PostMessageW(host, WM_SYSCOMMAND, kAboutCommand, 0);
    const std::wstring caption = Fill(Text(kEnglishBlock, 3), {Text(kEnglishBlock, 0)});
    HWND about = WaitForDialog(installer_, [&](HWND d) { return WindowText(d) == caption; });
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(host)) << "the About box is not modal";
    EXPECT_EQ(ControlText(about, IDC_ABOUT_PRODUCT), L"Install 2.04a");
    EXPECT_EQ(ControlText(about, IDC_ABOUT_LEGAL), L"\u00A9 2026 Vantaro. All rights reserved.");
    EXPECT_EQ(ControlText(about, IDOK), Text(kEnglishBlock, 1));
    const std::vector<std::wstring> texts = StaticTexts(about);
    for (const wchar_t* contact : {L"https://www.vantaro.example/", L"Tel. +1 555 0147"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), contact), texts.end());
    PressButton(about, IDOK);
    ASSERT_TRUE(WaitUntilGone(about));
    EXPECT_TRUE(::IsWindowEnabled(host));
    EXPECT_EQ(VisiblePage(host), 0);
    ExitWizard();
}

}  // namespace
}  // namespace va::test
