// Two installers started at the same moment: exactly one goes on to the
// wizard; the other ends with the "busy" refusal.  The one that goes on may
// find the other still registered and ask to close it first: Retry then
// goes on once the other has ended.

#include <algorithm>

#include "resources/installer_ids.h"
#include "tests/wizard/wizard_fixture.h"

namespace va::test {
namespace {

constexpr DWORD kBusyExitCode = 1618;

class SimultaneousStart : public InstallerWizard {
protected:
    Process other_;
};

TEST_F(SimultaneousStart, ExactlyOneInstallerGoesOn)
{
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", 1));
    Process both[2] = {StartProgram(InstallerProgram()), StartProgram(InstallerProgram())};
    HWND hosts[2] = {};
    DWORD ended[2] = {STILL_ACTIVE, STILL_ACTIVE};
    int retries = 0;
    // Every box is answered as a user who wants to go on would: OK to the
    // refusal, Retry to "close the other first".
    for (int round = 0; round < 1200; ++round) {
        for (int i = 0; i < 2; ++i) {
            if (ended[i] != STILL_ACTIVE)
                continue;
            ended[i] = WaitForExit(both[i], 0);
            if (ended[i] != STILL_ACTIVE)
                continue;
            for (HWND dialog : DialogsOf(both[i].id)) {
                if (IsHost(dialog)) {
                    hosts[i] = dialog;
                } else if (IsMessageBox(dialog) && ::IsWindowEnabled(dialog)) {
                    const std::vector<int> buttons = ButtonIds(dialog);
                    const bool retry = std::find(buttons.begin(), buttons.end(), IDRETRY) != buttons.end();
                    retries += retry ? 1 : 0;
                    PressButton(dialog, retry ? IDRETRY : IDOK);
                    WaitUntilGone(dialog, 10000);
                }
            }
        }
        const bool oneHost = (hosts[0] != nullptr) != (hosts[1] != nullptr);
        const int goesOn = hosts[0] ? 0 : 1;
        if (oneHost && ended[1 - goesOn] != STILL_ACTIVE)
            break;
        ::Sleep(50);
    }
    ASSERT_TRUE((hosts[0] != nullptr) != (hosts[1] != nullptr))
        << "wizards open: " << (hosts[0] != nullptr) + (hosts[1] != nullptr);
    const int goesOn = hosts[0] ? 0 : 1;
    EXPECT_EQ(ended[1 - goesOn], kBusyExitCode) << "the other installer did not end refused";
    RecordProperty("retries", retries);

    installer_ = std::move(both[goesOn]);
    other_ = std::move(both[1 - goesOn]);
    host_ = hosts[goesOn];
    ASSERT_TRUE(WaitForPage(host_, 0));
    EXPECT_TRUE(IsControlEnabled(host_, IDOK));
    ExitWizard();
}

}  // namespace
}  // namespace va::test
