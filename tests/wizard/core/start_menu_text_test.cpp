// The Shortcut page's text for the Start-menu folder, and back.

#include <gtest/gtest.h>

#include <string>

#include "wizard/core/start_menu_text.h"

namespace va {
namespace {

const std::wstring kRoot = L"C:\\ProgramData\\Start Menu";

TEST(StartMenuText, IsRelativeToTheStartMenuOrTheFolderItself)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {kRoot + L"\\Programs\\Maker\\Trelvane 7", L"Programs\\Maker\\Trelvane 7"},
        {kRoot + L"\\programs", L"programs"},
        {kRoot, L""},
        {kRoot + L"\\", L""},
        // Neither another drive nor a folder beside the Start menu has a
        // relative text that names it.
        {L"D:\\Menu", L"D:\\Menu"},
        {L"C:\\ProgramData\\Other", L"C:\\ProgramData\\Other"},
        {L"C:\\ProgramData\\Start Menu Old\\X", L"C:\\ProgramData\\Start Menu Old\\X"},
    };
    for (const auto& [folder, text] : cases)
        EXPECT_EQ(StartMenuText(kRoot, folder), text) << folder;
    EXPECT_EQ(StartMenuText(L"", L"C:\\Menu"), L"C:\\Menu") << "without a Start menu";
}

TEST(StartMenuText, EveryShownTextGivesItsFolderBack)
{
    const std::wstring folders[] = {
        kRoot + L"\\Programs\\Maker\\Trelvane 7", kRoot, L"D:\\Menu", L"C:\\ProgramData\\Other",
    };
    for (const auto& folder : folders)
        EXPECT_EQ(StartMenuFolderFromText(kRoot, StartMenuText(kRoot, folder), L"previous"), folder) << folder;
}

TEST(StartMenuText, ATextBeyondThePathBufferKeepsThePreviousFolder)
{
    EXPECT_EQ(StartMenuFolderFromText(kRoot, std::wstring(250, L'a'), L"C:\\previous"), L"C:\\previous");
}

}  // namespace
}  // namespace va
