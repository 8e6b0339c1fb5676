// A quick installation in German through the real wizard: every line of
// the run in German where the German table has the text (English, then
// French, where it has not), the Start-menu link named in German and the
// language kept for the uninstaller.

#include <algorithm>

#include "tests/engine/transaction/installation_fixture.h"
#include "tests/wizard/uninstall_log_text.h"

namespace va::test {
namespace {

class GermanInstallation : public Installation {};

std::wstring GermanStep(unsigned message)
{
    return Text(kGermanBlock, message) + Text(kGermanBlock, 11);
}

TEST_F(GermanInstallation, RunsAndReportsInGermanAndNamesTheLinksInGerman)
{
    ASSERT_NE(Start(), nullptr);
    const std::wstring caption = WindowText(host_);
    SelectComboItem(PageOf(host_, 0), IDC_LANGUAGE_LIST, 2);
    for (int i = 0; i < 300 && WindowText(host_) == caption; ++i)
        ::Sleep(100);
    ASSERT_EQ(WindowText(host_), Title(kGermanBlock));
    ASSERT_TRUE(WaitUntilSettled(host_));
    ASSERT_TRUE(Press(IDOK, 1));
    ASSERT_TRUE(Press(IDOK, 4));
    EXPECT_EQ(ControlText(host_, IDOK), Text(kGermanBlock, 7));
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), Fill(Text(kGermanBlock, 106), {Text(kGermanBlock, 6)}));

    const std::vector<std::wstring> lines = RunLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines.front(), GermanStep(114));
    const std::wstring program = places_.installFolder + L"\\Trelvane.exe";
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        Fill(Text(kGermanBlock, 115), {L"\"" + program + L"\""}) + Text(kGermanBlock, 11)),
              lines.end());
    // Message 131 is untranslated ("#") in German and in English.
    const std::wstring tail[] = {GermanStep(117), Text(kFrenchBlock, 131) + Text(kGermanBlock, 11), GermanStep(118),
                                 GermanStep(119), L""};
    ASSERT_GE(lines.size(), std::size(tail));
    for (size_t i = 0; i < std::size(tail); ++i)
        EXPECT_EQ(lines[lines.size() - std::size(tail) + i], tail[i]) << "line " << i;

    const std::wstring uninstallLink =
        places_.startMenuFolder + L"\\" + Fill(Text(kGermanBlock, 13), {L"Trelvane"}) + L".lnk";
    EXPECT_TRUE(FileExists(uninstallLink)) << uninstallLink;
    EXPECT_NE(UninstallLogText(places_.installFolder + L"\\Uninstall.ulog").find(L" -- " + uninstallLink + L"\r\n"),
              std::wstring::npos)
        << "the log does not name the German link";
    DWORD language = 0;
    DWORD size = sizeof language;
    EXPECT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", RRF_RT_REG_DWORD, nullptr,
                             &language, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(language, 2u);
    ExitWizard();
}

}  // namespace
}  // namespace va::test
