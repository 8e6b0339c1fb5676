#pragma once
// What the wizard tests share: the real installer started from outside in
// the state a test prepares (what is installed, the persisted language), its
// host and pages found and read, and the installer's own texts to compare
// with, loaded from the string tables linked into the test.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "resources/installer_ids.h"
#include "support/resource_string.h"
#include "tests/common/scratch_registry.h"
#include "tests/driver/driver.h"
#include "tests/driver/job.h"
#include "tests/installer/startup_fixture.h"
#include "tests/wizard/wizard_pages.h"

namespace va::test {

inline constexpr unsigned kEnglishBlock = 2000;
inline constexpr unsigned kGermanBlock = 3000;

// Message `message` of a language's string block.
inline std::wstring Text(unsigned block, unsigned message)
{
    return LoadResourceString(nullptr, block + message);
}

// `pattern` with "%1", "%2" replaced (the installer's texts use no other
// insert forms).
inline std::wstring Fill(std::wstring pattern, const std::vector<std::wstring>& inserts)
{
    for (size_t i = inserts.size(); i-- > 0;) {
        const std::wstring mark = L"%" + std::to_wstring(i + 1);
        for (size_t at = pattern.find(mark); at != std::wstring::npos; at = pattern.find(mark, at + inserts[i].size()))
            pattern.replace(at, mark.size(), inserts[i]);
    }
    return pattern;
}

inline std::wstring Title(unsigned block)
{
    return Text(block, 0) + L" \u2013 Trelvane 7.08g";
}

// A fixture that starts the real installer: `kind` names the stand-in
// installed program ("" for none: a fresh installation; "7_8_7_1" the same
// version, "7_8_7_0" an older one, "7_9_0_0" a newer one), English is the
// persisted language.
class InstallerWizard : public ProductKeysCleared {
protected:
    void SetUp() override
    {
        ProductKeysCleared::SetUp();
        programs_.emplace();
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (!probe)
            GTEST_SKIP() << "no window station: start Xvfb and set DISPLAY";
        ::DestroyWindow(probe);
    }

    void TearDown() override
    {
        // Whatever the test started and left running ends before the keys
        // are put back.
        programs_.reset();
        ProductKeysCleared::TearDown();
    }

    // Starts the installer (or `program`, a copy of it) and waits for its
    // host; fails the test without it.
    HWND Start(const std::wstring& kind = L"", const std::wstring& program = InstallerProgram())
    {
        if (!kind.empty()) {
            EXPECT_TRUE(SetInstalledProgram(FixtureProgram(kind)));
        }
        newerInstalled_ = kind == L"7_9_0_0";
        EXPECT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", 1));
        installer_ = StartProgram(program);
        host_ = WaitForDialog(installer_, IsHost);
        EXPECT_NE(host_, nullptr) << "the wizard host did not open";
        if (host_) {
            EXPECT_TRUE(WaitUntilSettled(host_)) << "the wizard host does not answer";
        }
        return host_;
    }

    // Presses a host button and waits until page `expected` shows.
    bool Press(int button, int expected)
    {
        PressButton(host_, button);
        return WaitForPage(host_, expected);
    }

    // A message box of the installer, or null when none came before the limit.
    HWND WaitForBox(DWORD limitMs = kDefaultLimitMs)
    {
        return WaitForDialog(installer_, IsMessageBox, limitMs);
    }

    // Exit, answering Yes when asked; the installer ends with the code of
    // what happened before.
    void ExitWizard()
    {
        const DWORD expected = ExitCodeWhenLeft();
        PressButton(host_, IDCANCEL);
        // Either the question comes or the installer ends without one.
        if (HWND box = WaitForBox())
            PressButton(box, IDYES);
        EXPECT_EQ(WaitForExit(installer_), expected);
    }

    // The exit code of leaving the wizard now: 0 after a success (the End
    // page, or the Install page with Back disabled); 1603 after a failed
    // run (the Install page's status keeps its error code, the only status
    // with a digit in any language); otherwise 1638 when a newer version
    // refused the installation, else 1602 (cancelled).
    DWORD ExitCodeWhenLeft() const
    {
        const int page = VisiblePage(host_);
        if (page == 5 || (page == 4 && !IsControlEnabled(host_, IDC_BACK)))
            return 0;
        const std::wstring status = ControlText(PageOf(host_, 4), IDC_STATUS);
        if (status.find_first_of(L"0123456789") != std::wstring::npos)
            return 1603;
        return newerInstalled_ ? 1638u : 1602u;
    }

    Process installer_;
    HWND host_ = nullptr;
    bool newerInstalled_ = false;

private:
    std::optional<ProgramJob> programs_;
};

}  // namespace va::test
