#include <gtest/gtest.h>

#include "engine/journal/core/log_format.h"
#include "tests/common/log_bytes.h"
#include "uninstaller/core/log_check.h"

namespace va::uninstall {
namespace {

using test::Latin1;
using test::Utf16File;

std::wstring Header(const std::wstring& installPath = L"C:\\P\\T")
{
    std::wstring header;
    for (const std::wstring& line : FormatLogHeader(L"Trelvane 7.08g", L"", installPath, L"C:\\M\\T"))
        header += line;
    return header;
}

// The uninstaller removes nothing from a log it could not read whole.
TEST(LogCheck, OnlyAWholeLogWithItsHeaderIsReadable)
{
    const std::wstring entries = L"0000:00ff:1 -- C:\\P\\T\r\n0001:0100:1 -- C:\\P\\T\\a.dll\r\n";
    const struct {
        const char* name;
        std::string bytes;
        LogState state;
        std::size_t line;
        std::size_t entries;
    } cases[] = {
        {"whole", Utf16File(Header() + entries), LogState::Readable, 0, 2},
        {"header only", Utf16File(Header()), LogState::Readable, 0, 0},
        {"ANSI", std::string("// Uninstall Log File v1\r\n// w\r\n// Install Trelvane\r\n// Install Path : C:\\P\\T\r\n"
                             "0000:00ff:1 -- C:\\P\\T\r\n"),
         LogState::Readable, 0, 1},
        {"empty file", "", LogState::Damaged, 1, 0},
        {"cut in the header", Utf16File(Header().substr(0, 80)), LogState::Damaged, 3, 0},
        {"relative installation folder", Utf16File(Header(L"P\\T") + entries), LogState::Damaged, 4, 2},
        {"blank line", Utf16File(Header() + L"0000:00ff:1 -- C:\\P\\T\r\n\r\n0001:0100:1 -- x\r\n"), LogState::Damaged, 8, 1},
        {"malformed last line", Utf16File(Header() + L"0000:00ff:1 -- C:\\P\\T\r\n0001:01"), LogState::Damaged, 8, 1},
        {"version 2", Utf16File(L"// Uninstall Log File v2\r\n" + entries), LogState::Damaged, 1, 0},
        {"garbage", std::string("\x01\x02garbage\x00\xff", 11), LogState::Damaged, 1, 0},
    };
    for (const auto& c : cases) {
        const CheckedLog checked = CheckLogBytes(c.bytes, Latin1);
        EXPECT_EQ(checked.state, c.state) << c.name;
        EXPECT_EQ(checked.line, c.line) << c.name;
        EXPECT_EQ(checked.contents.Entries.size(), c.entries) << c.name;
    }
}

// The log beside the uninstaller describes that installation only: one that
// names another folder could send the removal anywhere the product's areas
// reach.
TEST(LogCheck, TheInstallPathMustBeTheUninstallersOwnFolder)
{
    const struct {
        const char* name;
        std::wstring ownFolder;
        LogState state;
        std::size_t line;
    } cases[] = {
        {"its own folder", L"C:\\P\\T", LogState::Readable, 0},
        {"letter case and separators aside", L"c:/p/t\\", LogState::Readable, 0},
        {"another folder", L"C:\\Users\\Public\\T", LogState::Damaged, 4},
        {"a folder above", L"C:\\P", LogState::Damaged, 4},
        {"a folder below", L"C:\\P\\T\\Sub", LogState::Damaged, 4},
    };
    for (const auto& c : cases) {
        CheckedLog checked = CheckLogBytes(Utf16File(Header()), Latin1);
        RequireOwnFolder(checked, c.ownFolder);
        EXPECT_EQ(checked.state, c.state) << c.name;
        EXPECT_EQ(checked.line, c.line) << c.name;
    }
    // A log damaged already stays so, with its own line.
    CheckedLog cut = CheckLogBytes(Utf16File(Header().substr(0, 80)), Latin1);
    RequireOwnFolder(cut, L"C:\\P\\T");
    EXPECT_EQ(cut.state, LogState::Damaged);
    EXPECT_EQ(cut.line, 3u);
}

TEST(LogCheck, TheShortcutPathMustLieInAStartMenu)
{
    const std::vector<std::wstring> menus{L"C:\\ProgramData\\Start Menu", L"C:\\Users\\A\\Start Menu"};
    const struct {
        const char* name;
        std::wstring shortcutPath;
        LogState state;
        std::size_t line;
    } cases[] = {
        {"the common Start menu", L"C:\\ProgramData\\Start Menu\\Programs\\T", LogState::Readable, 0},
        {"the user's Start menu", L"c:/users/a/start menu/T", LogState::Readable, 0},
        {"the Start menu itself", L"C:\\ProgramData\\Start Menu", LogState::Damaged, 5},
        {"elsewhere", L"C:\\Users\\Public", LogState::Damaged, 5},
        {"out of it by \"..\"", L"C:\\ProgramData\\Start Menu\\..\\Data", LogState::Damaged, 5},
    };
    for (const auto& c : cases) {
        std::wstring header;
        for (const std::wstring& line : FormatLogHeader(L"Trelvane 7.08g", L"", L"C:\\P\\T", c.shortcutPath))
            header += line;
        CheckedLog checked = CheckLogBytes(Utf16File(header), Latin1);
        RequireStartMenuFolder(checked, menus);
        EXPECT_EQ(checked.state, c.state) << c.name;
        EXPECT_EQ(checked.line, c.line) << c.name;
    }
}

}  // namespace
}  // namespace va::uninstall
