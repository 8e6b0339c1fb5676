// The real wizard's Start page for each installed state, and when Exit asks
// before it closes.

#include "tests/wizard/wizard_fixture.h"

namespace va::test {
namespace {

std::wstring E(unsigned message)
{
    return Text(kEnglishBlock, message);
}

class WizardExit : public InstallerWizard {};

TEST_F(WizardExit, StartPageSaysWhatWillHappenForEachInstalledState)
{
    const std::wstring product = L"Trelvane 7.08g";
    struct Case {
        const wchar_t* installed;
        std::wstring info;
        std::wstring status;
    };
    const Case cases[] = {
        {L"", Fill(E(100), {product}), Fill(E(106), {E(6)})},
        {L"7_8_7_0", Fill(E(101), {L"Trelvane 7.08f", product}), Fill(E(106), {E(6)})},
        {L"7_8_7_1", Fill(E(102), {product}) + L"\r\n" + E(104), Fill(E(105), {E(6), E(2)})},
        {L"7_9_0_0", Fill(E(100), {product}) + L"\r\n" + Fill(E(103), {L"Trelvane 7.09"}), Fill(E(107), {E(2)})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installed);
        RemoveProductKeys();
        HWND host = Start(c.installed);
        ASSERT_NE(host, nullptr);
        HWND start = PageOf(host, 0);
        EXPECT_EQ(ControlText(start, IDC_INFO), c.info);
        EXPECT_EQ(ControlText(start, IDC_STATUS), c.status);
        EXPECT_EQ(ControlText(start, IDC_COPYRIGHT), Fill(E(109), {product}));
        EXPECT_EQ(ControlText(start, IDC_LANGUAGE_LABEL), E(14));
        EXPECT_EQ(WindowText(host), Title(kEnglishBlock));
        ExitWizard();
    }
}

TEST_F(WizardExit, AsksUnlessAReinstallationIsStillOnTheStartPageOrANewerVersionIsInstalled)
{
    struct Case {
        const wchar_t* installed;
        int page;  // 1: go to the Mode page first
        bool asks;
    };
    const Case cases[] = {
        {L"7_8_7_1", 0, false}, {L"7_8_7_1", 1, true}, {L"", 0, true},
        {L"7_8_7_0", 0, true},  {L"7_9_0_0", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "installed '" << std::string(c.installed, c.installed + wcslen(c.installed))
                                        << "' page " << c.page);
        RemoveProductKeys();
        HWND host = Start(c.installed);
        ASSERT_NE(host, nullptr);
        if (c.page == 1) {
            ASSERT_TRUE(Press(IDOK, 1));
        }
        PressButton(host, IDCANCEL);
        HWND box = WaitForBox();
        if (!c.asks) {
            EXPECT_EQ(box, nullptr) << "asked";
            EXPECT_EQ(WaitForExit(installer_), ExitCodeWhenLeft());
            continue;
        }
        ASSERT_NE(box, nullptr) << "did not ask";
        EXPECT_EQ(MessageBoxText(box), E(110));
        EXPECT_EQ(WindowText(box), Title(kEnglishBlock));
        EXPECT_EQ(ButtonIds(box), (std::vector<int>{IDYES, IDNO}));
        EXPECT_TRUE(IsDefaultPushButton(box, IDNO)) << "Yes is the default";

        // No: everything stays as it was.
        PressButton(box, IDNO);
        ASSERT_TRUE(WaitUntilGone(box));
        EXPECT_EQ(VisiblePage(host), c.page);
        EXPECT_TRUE(::IsWindowEnabled(host));
        EXPECT_EQ(IsControlEnabled(host, IDC_BACK), c.page > 0);
        EXPECT_EQ(ControlText(host, IDCANCEL), E(2));

        // Yes: the wizard closes.
        PressButton(host, IDCANCEL);
        box = WaitForBox();
        ASSERT_NE(box, nullptr);
        PressButton(box, IDYES);
        EXPECT_EQ(WaitForExit(installer_), ExitCodeWhenLeft());
    }
}

}  // namespace
}  // namespace va::test
