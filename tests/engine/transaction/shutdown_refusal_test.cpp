// Log-off and restart while the installation runs: the wizard answers the
// system's question no, and yes again once the run is over.  The run is
// held in its middle by the About box, whose modal loop still answers.

#include "tests/engine/transaction/installation_fixture.h"

namespace va::test {
namespace {

constexpr UINT kAboutCommand = 0x10;

// The wizard's answer to "may the session end?"; nothing when it did not answer.
std::optional<bool> MayEndSession(HWND host)
{
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(host, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 30000, &answer))
        return std::nullopt;
    return answer != FALSE;
}

TEST_F(Installation, LogOffIsRefusedWhileTheRunGoesOnAndAllowedAfterIt)
{
    ASSERT_TRUE(ReachInstallPage());
    EXPECT_EQ(MayEndSession(host_), std::optional<bool>(true)) << "before the run";

    PressButton(host_, IDOK);
    ::PostMessageW(host_, WM_SYSCOMMAND, kAboutCommand, 0);
    HWND about = WaitForDialog(installer_, [this](HWND d) { return d != host_ && ::GetDlgItem(d, IDC_ABOUT_PRODUCT); });
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(MayEndSession(host_), std::optional<bool>(false)) << "in the middle of the run";
    EXPECT_NE(Status(), DoneStatus()) << "the run was not held";

    PressButton(about, IDOK);
    ASSERT_TRUE(WaitUntilGone(about));
    for (int i = 0; i < 6000 && !IsControlEnabled(host_, IDCANCEL); ++i)
        ::Sleep(100);
    ASSERT_EQ(Status(), DoneStatus());
    EXPECT_EQ(MayEndSession(host_), std::optional<bool>(true)) << "after the run";
    ExitWizard();
}

}  // namespace
}  // namespace va::test
