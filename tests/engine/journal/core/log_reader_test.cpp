#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/journal/core/log_format.h"
#include "engine/journal/core/log_reader.h"
#include "tests/common/log_bytes.h"

namespace va {
namespace {

using test::Latin1;
using test::Utf16File;

const std::wstring kHeader =
    L"// Uninstall Log File v1\r\n"
    L"// ############ WARNING: Do not delete or modify this file. ############\r\n"
    L"// Install Trelvane 7.08g\r\n"
    L"// Install Path : C:\\P\\T\r\n"
    L"// Shortcut Path : S\\M\r\n"
    L"// -------------------\r\n";

struct Expected {
    std::int32_t Type;
    std::int32_t Detail;
    std::uint8_t Outcome;
    std::wstring Path;
};

void ExpectEntries(const LogContents& got, const std::vector<Expected>& want, const char* name)
{
    ASSERT_EQ(got.Entries.size(), want.size()) << name;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got.Entries[i].Type, want[i].Type) << name << " #" << i;
        EXPECT_EQ(got.Entries[i].Detail, want[i].Detail) << name << " #" << i;
        EXPECT_EQ(got.Entries[i].Outcome, want[i].Outcome) << name << " #" << i;
        EXPECT_EQ(got.Entries[i].Path, want[i].Path) << name << " #" << i;
        EXPECT_TRUE(got.Entries[i].BackupPath.empty()) << name << " #" << i;
    }
}

const std::wstring kFolderLine = L"0000:00ff:1 -- C:\\P\\T\r\n";
const Expected kFolder{CreatedFolder, -1, 1, L"C:\\P\\T"};
const std::wstring kFileLine = L"0001:0104:0 -- C:\\P\\T\\a b.dds\r\n";
const Expected kFile{InstalledFile, 4, 0, L"C:\\P\\T\\a b.dds"};

struct FileCase {
    const char* name;
    std::string bytes;
    std::vector<Expected> entries;
    std::optional<std::wstring> product;
    std::wstring installPath;
};

TEST(LogReader, HandlesMalformedAndBoundaryFiles)
{
    const std::wstring longPath(1000, L'x');  // 2000 bytes and more in UTF-16
    std::string longAnsiLine = "0001:0100:1 -- " + std::string(2000, 'x') + "\r\n";
    const std::vector<FileCase> cases = {
        {"valid", Utf16File(kHeader + kFolderLine + kFileLine), {kFolder, kFile}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"empty file", "", {}, std::nullopt, L""},
        {"mark only", std::string(kUtf16LeMark), {}, std::nullopt, L""},
        {"version 2", Utf16File(L"// Uninstall Log File v2\r\n" + kHeader.substr(26) + kFolderLine), {}, std::nullopt, L""},
        {"version unreadable", Utf16File(L"// Uninstall Log File vX\r\n" + kFolderLine), {}, std::nullopt, L""},
        {"no header", Utf16File(kFolderLine + kFileLine), {}, std::nullopt, L""},
        {"missing Install line",
         Utf16File(L"// Uninstall Log File v1\r\n// w\r\n// Product\r\n// Install Path : C:\\P\r\n" + kFolderLine),
         {}, std::nullopt, L""},
        {"missing Install Path line",
         Utf16File(L"// Uninstall Log File v1\r\n// w\r\n// Install X\r\n// Folder : C:\\P\r\n" + kFolderLine),
         {}, L"X", L""},
        {"blank line between entries", Utf16File(kHeader + kFolderLine + L"\r\n" + kFileLine), {kFolder}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"code type 8", Utf16File(kHeader + kFolderLine + L"0001:08ff:1 -- x\r\n" + kFileLine), {kFolder}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"outcome 2", Utf16File(kHeader + kFolderLine + L"0001:00ff:2 -- x\r\n" + kFileLine), {kFolder}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"negative index", Utf16File(kHeader + L"-001:00ff:1 -- x\r\n"), {}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"code beyond 32 bits", Utf16File(kHeader + L"0000:100000000:1 -- x\r\n"), {}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"no separator word", Utf16File(kHeader + L"0000:00ff:1 x\r\n"), {}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"separator glued to path", Utf16File(kHeader + L"0000:00ff:1 --x\r\n"), {}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"loose spacing", Utf16File(kHeader + L" 7 : 104 : 0   --   C:\\P\\T\\a b.dds  \r\n"), {kFile}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"LF only and no final break",
         Utf16File(L"// Uninstall Log File v1\n// w\n// Install P\n// Install Path : C:\\P\\T\n// Shortcut Path : \n// -\n"
                   L"0000:00ff:1 -- C:\\P\\T\n0001:0104:0 -- C:\\P\\T\\a b.dds"),
         {kFolder, kFile}, L"P", L"C:\\P\\T"},
        {"empty shortcut folder", Utf16File(kHeader.substr(0, kHeader.find(L"// Shortcut")) +
                                            L"// Shortcut Path : \r\n// ----------------\r\n" + kFolderLine),
         {kFolder}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"later comment lines ignored", Utf16File(kHeader + kFolderLine + L"// note\r\n" + kFileLine), {kFolder, kFile}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"update text cut", Utf16File(L"// Uninstall Log File v1\r\n// w\r\n// Install Trelvane 7.08g -- Update (Trelvane 7.08g)\r\n"),
         {}, L"Trelvane 7.08g", L""},
        {"fixed paths not kept",
         Utf16File(kHeader + L"0000:05ff:1 -- HKEY_LOCAL_MACHINE\\X\r\n0001:06ff:0 -- HKEY_CLASSES_ROOT\\...\r\n"
                             L"0002:02ff:0 --\r\n0003:07ff:1 -- DirectX ok\r\n"),
         {{UninstallKey, -1, 1, L""}, {FileTypes, -1, 0, L""}, {ProgramShortcut, -1, 0, L""}, {DirectXRuntime, -1, 1, L"DirectX ok"}},
         L"Trelvane 7.08g", L"C:\\P\\T"},
        {"2000-byte entry line", Utf16File(kHeader + kFolderLine + L"0001:0100:1 -- " + longPath + L"\r\n" + kFileLine),
         {kFolder}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"2000-byte ANSI line", "// Uninstall Log File v1\r\n// w\r\n// Install P\r\n0000:00ff:1 -- C:\\P\\T\r\n" + longAnsiLine,
         {kFolder}, L"P", L""},
        {"2000-byte first line", std::string(2000, '/'), {}, std::nullopt, L""},
        {"NUL inside a line", Utf16File(kHeader + kFolderLine + L"0001:0104:0 -- C:\\P" + std::wstring(1, L'\0') + L"x\r\n"), {kFolder}, L"Trelvane 7.08g", L"C:\\P\\T"},
        {"ANSI without mark",
         "// Uninstall Log File v1\r\n// w\r\n// Install Caf\xE9\r\n// Install Path : C:\\\xE9t\xE9\r\n"
         "0000:00ff:1 -- C:\\P\\T\r\n0001:0104:0 -- C:\\P\\T\\a b.dds\r\n",
         {kFolder, kFile}, L"Caf\u00e9", L"C:\\\u00e9t\u00e9"},
        {"lone FF byte", "\xFF", {}, std::nullopt, L""},
    };
    for (const auto& c : cases) {
        LogContents got = ReadLogBytes(c.bytes, Latin1);
        ExpectEntries(got, c.entries, c.name);
        EXPECT_EQ(got.PreviousProduct, c.product) << c.name;
        EXPECT_EQ(got.InstallPath, c.installPath) << c.name;
    }
}

TEST(LogReader, LineLimitIsTheBufferWithItsBreak)
{
    // An entry line of exactly 1024 bytes (512 code units with CR LF) fits;
    // one unit more does not.
    const std::wstring prefix = L"0000:0100:1 -- ";
    const std::size_t fits = 512 - 2 - prefix.size();
    const std::wstring fitting = prefix + std::wstring(fits, L'p') + L"\r\n";
    const std::wstring tooLong = prefix + std::wstring(fits + 1, L'q') + L"\r\n";
    ASSERT_EQ(EncodeUtf16Le(fitting).size(), kLogLineBufferBytes);

    LogContents got = ReadLogBytes(Utf16File(kHeader + fitting + tooLong + kFolderLine), Latin1);
    ASSERT_EQ(got.Entries.size(), 1u);
    EXPECT_EQ(got.Entries[0].Path, std::wstring(fits, L'p'));
}

TEST(LogReader, PiecesOfAnySizeReadAlike)
{
    const std::string file = Utf16File(kHeader + kFolderLine + kFileLine);
    for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{4096}}) {
        LogReader reader(Latin1);
        for (std::size_t at = 0; at < file.size(); at += piece)
            reader.Feed(std::string_view(file).substr(at, piece));
        reader.Finish();
        ExpectEntries(reader.Contents(), {kFolder, kFile}, "pieces");
        EXPECT_EQ(reader.Contents().ShortcutPath, L"S\\M");
    }
}

TEST(LogReader, FailedReadDropsTheUnfinishedLine)
{
    const std::string file = Utf16File(kHeader + kFolderLine + L"0001:0104:0 -- C:\\P\\T\\a b.dds");
    LogReader aborted(Latin1);
    aborted.Feed(file);
    aborted.Abort();
    ExpectEntries(aborted.Contents(), {kFolder}, "aborted");
    EXPECT_FALSE(aborted.Feed(Utf16File(L"\r\n")));

    LogReader finished(Latin1);
    finished.Feed(file);
    finished.Finish();
    ExpectEntries(finished.Contents(), {kFolder, kFile}, "finished");
}

// The uninstaller removes nothing unless the whole log was read: the reader
// tells a file read to its end from one whose reading stopped, and where.
TEST(LogReader, TellsAWholeReadFromAStoppedOneAndTheLineItStoppedAt)
{
    const struct {
        const char* name;
        std::string bytes;
        bool complete;
        std::size_t lines;
    } cases[] = {
        {"valid", Utf16File(kHeader + kFolderLine + kFileLine), true, 8},
        {"valid without final break", Utf16File(kHeader + kFolderLine + L"0001:0104:0 -- x"), true, 8},
        {"empty file", "", true, 0},
        {"blank line between entries", Utf16File(kHeader + kFolderLine + L"\r\n" + kFileLine), false, 8},
        {"malformed last line", Utf16File(kHeader + kFolderLine + L"0001:08ff:1 -- x"), false, 8},
        {"version 2", Utf16File(L"// Uninstall Log File v2\r\n" + kHeader.substr(26)), false, 1},
        {"too long a line", Utf16File(kHeader + L"0000:0100:1 -- " + std::wstring(600, L'x') + L"\r\n"), false, 7},
    };
    for (const auto& c : cases) {
        LogReader reader(Latin1);
        if (reader.Feed(c.bytes))
            reader.Finish();
        EXPECT_EQ(reader.Complete(), c.complete) << c.name;
        EXPECT_EQ(reader.LinesSeen(), c.lines) << c.name;
    }

    LogReader aborted(Latin1);
    aborted.Feed(Utf16File(kHeader + kFolderLine));
    aborted.Abort();
    EXPECT_FALSE(aborted.Complete());
}

TEST(LogReader, ReadsBackWhatTheFormatWrites)
{
    std::vector<LogEntry> written;
    std::vector<Expected> expected;
    for (std::int32_t type = 0; type <= 7; ++type) {
        LogEntry e;
        e.Type = type;
        e.Detail = type == InstalledFile ? 3 : -1;
        e.Outcome = static_cast<std::uint8_t>(type % 2);
        e.Path = FixedLogPath(type, L"Trelvane 7").value_or(L"C:\\Dir " + std::to_wstring(type) + L"\\f.x");
        written.push_back(e);
        expected.push_back({type, e.Detail, e.Outcome, (type == 5 || type == 6) ? L"" : e.Path});
    }
    written[2].Path.clear();  // a shortcut that failed
    expected[2].Path.clear();

    std::wstring text;
    for (const auto& line : FormatLogHeader(L"Trelvane 7.08g", L"Trelvane 7.08f", L"C:\\I", L"C:\\S"))
        text += line;
    for (std::size_t i = 0; i < written.size(); ++i)
        text += FormatLogEntry(i, written[i]);

    LogContents got = ReadLogBytes(Utf16File(text), Latin1);
    ExpectEntries(got, expected, "round trip");
    EXPECT_EQ(got.PreviousProduct, L"Trelvane 7.08g");
    EXPECT_EQ(got.InstallPath, L"C:\\I");
    EXPECT_EQ(got.ShortcutPath, L"C:\\S");
}

}  // namespace
}  // namespace va
