// The product running while the installer starts: the installer asks to
// close it first and asks again on Retry while it still runs; once it has
// ended, Retry leads to the wizard.

#include "tests/common/standins.h"
#include "tests/wizard/wizard_fixture.h"

namespace va::test {
namespace {

HWND WaitForProductWindow()
{
    for (int i = 0; i < 600; ++i) {
        if (HWND window = ::FindWindowW(L"TrelvaneStandInWindow", nullptr))
            return window;
        ::Sleep(100);
    }
    return nullptr;
}

class ProductRunning : public InstallerWizard {
protected:
    Process product_;
};

TEST_F(ProductRunning, TheInstallerAsksToCloseItAndGoesOnOnceItHasEnded)
{
    product_ = StartProgram(StandinPath(L"Trelvane.exe"));
    HWND window = WaitForProductWindow();
    ASSERT_NE(window, nullptr) << "the product did not open its window";
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", 1));
    installer_ = StartProgram(InstallerProgram());

    const std::wstring question = Fill(Text(kEnglishBlock, 127), {L"Trelvane"});
    HWND box = WaitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), question);
    EXPECT_EQ(ButtonIds(box), (std::vector<int>{IDRETRY, IDCANCEL}));
    // Retry while the product still runs: asked again.
    PressButton(box, IDRETRY);
    ASSERT_TRUE(WaitUntilGone(box));
    box = WaitForBox();
    ASSERT_NE(box, nullptr) << "Retry went on while the product runs";
    EXPECT_EQ(MessageBoxText(box), question);
    EXPECT_EQ(WaitForDialog(installer_, IsHost, 0), nullptr);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(product_), 0u);
    PressButton(box, IDRETRY);
    host_ = WaitForDialog(installer_, IsHost);
    ASSERT_NE(host_, nullptr) << "no wizard after the product ended";
    ASSERT_TRUE(WaitForPage(host_, 0));
    ExitWizard();
}

}  // namespace
}  // namespace va::test
