#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "engine/journal/core/log_format.h"

namespace va {
namespace {

LogEntry Entry(std::int32_t type, std::int32_t detail, std::uint8_t outcome, std::wstring path)
{
    LogEntry e;
    e.Type = type;
    e.Detail = detail;
    e.Outcome = outcome;
    e.Path = std::move(path);
    return e;
}

struct EntryLineCase {
    std::size_t index;
    LogEntry entry;
    const wchar_t* expected;
};

TEST(LogEntryLine, MatchesTheFileFormat)
{
    const EntryLineCase cases[] = {
        {0, Entry(CreatedFolder, -1, 1, L"C:\\Program Files\\Vantaro"), L"0000:00ff:1 -- C:\\Program Files\\Vantaro\r\n"},
        {17, Entry(InstalledFile, 4, 1, L"C:\\x\\t.dds"), L"0017:0104:1 -- C:\\x\\t.dds\r\n"},
        {18, Entry(InstalledFile, 0, 0, L"a"), L"0018:0100:0 -- a\r\n"},
        {91, Entry(UninstallShortcut, -1, 0, L""), L"0091:03ff:0 -- \r\n"},
        {93, Entry(DirectXRuntime, -1, 1, L"DirectX"), L"0093:07ff:1 -- DirectX\r\n"},
        {12345, Entry(DesktopShortcut, -1, 1, L"d.lnk"), L"12345:04ff:1 -- d.lnk\r\n"},
        // Only the low byte of the detail is written.
        {5, Entry(InstalledFile, 0x1AB, 1, L"p"), L"0005:01ab:1 -- p\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatLogEntry(c.index, c.entry), c.expected) << "index " << c.index;
}

TEST(LogHeader, HasSixCommentedLinesWithDashesAsLongAsLineFive)
{
    auto lines = FormatLogHeader(L"Trelvane 7.08g", L"", L"C:\\P\\T", L"S\\M");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], L"// Uninstall Log File v1\r\n");
    EXPECT_EQ(lines[1], L"// ############ WARNING: Do not delete or modify this file. ############\r\n");
    EXPECT_EQ(lines[2], L"// Install Trelvane 7.08g\r\n");
    EXPECT_EQ(lines[3], L"// Install Path : C:\\P\\T\r\n");
    EXPECT_EQ(lines[4], L"// Shortcut Path : S\\M\r\n");
    EXPECT_EQ(lines[5], L"// " + std::wstring(19, L'-') + L"\r\n");
}

TEST(LogHeader, NamesThePreviousProductAndCountsSixteenDashesForNoFolder)
{
    auto lines = FormatLogHeader(L"Trelvane 7.08g", L"Trelvane 7.08f", L"", L"");
    EXPECT_EQ(lines[2], L"// Install Trelvane 7.08g -- Update (Trelvane 7.08f)\r\n");
    EXPECT_EQ(lines[3], L"// Install Path : \r\n");
    EXPECT_EQ(lines[5], L"// ----------------\r\n");
}

TEST(LogFixedPaths, NameTheKeyAndTheClassesRoot)
{
    EXPECT_EQ(FixedLogPath(UninstallKey, L"Trelvane 7"),
              L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7");
    EXPECT_EQ(FixedLogPath(FileTypes, L"Trelvane 7"), L"HKEY_CLASSES_ROOT\\...");
    for (std::int32_t type : {0, 1, 2, 3, 4, 7})
        EXPECT_FALSE(FixedLogPath(type, L"Trelvane 7")) << type;
}

TEST(Utf16Encoding, IsLittleEndianWithoutMark)
{
    EXPECT_EQ(EncodeUtf16Le(L"A\r\n"), std::string("A\0\r\0\n\0", 6));
    EXPECT_EQ(EncodeUtf16Le(L"\u00e9\u20ac"), std::string("\xE9\x00\xAC\x20", 4));
    EXPECT_EQ(kUtf16LeMark, std::string_view("\xFF\xFE", 2));
}

// The installer writes, the installer's next run and the uninstaller read
// the same file: the one beside the uninstaller, however long its path.
TEST(LogBeside, IsTheLogInTheProgramsFolder)
{
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\Uninstall.exe";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Program Files\\Trelvane 7\\Uninstall.exe", L"C:\\Program Files\\Trelvane 7\\Uninstall.ulog"},
        {L"C:\\Uninstall.exe", L"C:\\Uninstall.ulog"},
        {L"D:/Apps/Uninstall.exe", L"D:/Apps\\Uninstall.ulog"},
        {deep, L"C:\\" + std::wstring(300, L'd') + L"\\Uninstall.ulog"},
        {L"Uninstall.exe", L""},
    };
    for (const auto& [program, log] : cases)
        EXPECT_EQ(LogBeside(program), log) << program.size();
}

}  // namespace
}  // namespace va
