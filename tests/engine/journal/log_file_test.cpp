#include <gtest/gtest.h>

#include "engine/journal/file_replacement.h"
#include "engine/journal/uninstall_log.h"
#include "support/handles.h"
#include "tests/common/scratch_folder.h"

namespace va {
namespace {

using test::Attributes;
using test::Exists;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

// Independent of the product's encoder: each character is one code unit here.
std::string Utf16(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

LogEntry Entry(std::int32_t type, std::wstring path, std::uint8_t outcome, std::int32_t detail = -1)
{
    LogEntry e;
    e.Type = type;
    e.Path = std::move(path);
    e.Outcome = outcome;
    e.Detail = detail;
    return e;
}

TEST(WriteLog, WritesTheFileByteForByte)
{
    ScratchFolder s;
    UninstallLog log;
    log.PreviousProduct = L"Trelvane 7.08f";
    log.NewEntries = {Entry(CreatedFolder, L"C:\\Inst", 1), Entry(InstalledFile, L"C:\\Inst\\a.exe", 1, 1),
                      Entry(ProgramShortcut, L"", 0), Entry(DirectXRuntime, L"Installing DirectX", 1),
                      Entry(UninstallKey, L"", 1), Entry(FileTypes, L"", 0)};
    const std::wstring file = s / L"Uninstall.ulog";
    ASSERT_TRUE(log.WriteLog(file, L"C:\\Inst", L"C:\\Menu\\Trelvane"));

    const std::wstring text =
        L"// Uninstall Log File v1\r\n"
        L"// ############ WARNING: Do not delete or modify this file. ############\r\n"
        L"// Install Trelvane 7.08g -- Update (Trelvane 7.08f)\r\n"
        L"// Install Path : C:\\Inst\r\n"
        L"// Shortcut Path : C:\\Menu\\Trelvane\r\n"
        L"// --------------------------------\r\n"
        L"0000:00ff:1 -- C:\\Inst\r\n"
        L"0001:0101:1 -- C:\\Inst\\a.exe\r\n"
        L"0002:02ff:0 -- \r\n"
        L"0003:07ff:1 -- Installing DirectX\r\n"
        L"0004:05ff:1 -- HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7\r\n"
        L"0005:06ff:0 -- HKEY_CLASSES_ROOT\\...\r\n";
    EXPECT_EQ(ReadBytes(file), std::string("\xFF\xFE", 2) + Utf16(text));

    auto it = std::next(log.NewEntries.begin(), 4);
    EXPECT_EQ(it->Path, L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7");
    EXPECT_EQ((++it)->Path, L"HKEY_CLASSES_ROOT\\...");
}

TEST(WriteLog, LeavesTheFileReadOnlyAndStillRewritesIt)
{
    ScratchFolder s;
    const std::wstring file = s / L"Uninstall.ulog";
    {
        UninstallLog first;
        ASSERT_TRUE(first.WriteLog(file, L"A", L""));
    }
    const DWORD first = Attributes(file);

    UninstallLog second;
    second.NewEntries = {Entry(DirectXRuntime, L"dx", 1)};
    ASSERT_TRUE(second.WriteLog(file, L"B", L""));
    const std::string bytes = ReadBytes(file);
    EXPECT_NE(bytes.find(Utf16(L"Install Path : B\r\n")), std::string::npos);
    EXPECT_NE(bytes.find(Utf16(L"0000:07ff:1 -- dx\r\n")), std::string::npos);

    for (DWORD attributes : {first, Attributes(file)}) {
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);
        if (!(attributes & FILE_ATTRIBUTE_NOT_CONTENT_INDEXED))
            GTEST_SKIP() << "the file system does not keep the not-content-indexed attribute (Wine)";
        EXPECT_EQ(attributes, 0x2021u);
    }
}

TEST(WriteLog, MergesTheSurvivingPreviousEntriesFirst)
{
    ScratchFolder s;
    ASSERT_TRUE(::CreateDirectoryW((s / L"sub").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(s / L"a.exe", "x"));
    UninstallLog log;
    log.PreviousEntries = {Entry(CreatedFolder, s / L"Old", 1), Entry(InstalledFile, s / L"sub\\..\\a.exe", 1, 1),
                           Entry(ProgramShortcut, L"old.lnk", 1), Entry(DirectXRuntime, L"old dx", 1)};
    log.NewEntries = {Entry(InstalledFile, s / L"a.exe", 1, 1), Entry(ProgramShortcut, L"new.lnk", 1)};
    ASSERT_TRUE(log.WriteLog(s / L"Uninstall.ulog", s.Path(), L""));

    std::vector<std::wstring> paths;
    for (const auto& e : log.NewEntries)
        paths.push_back(e.Path);
    EXPECT_EQ(paths, (std::vector<std::wstring>{s / L"Old", L"old dx", s / L"a.exe", L"new.lnk"}));
    EXPECT_TRUE(log.PreviousEntries.empty());
}

TEST(WriteLog, DiscardsTheBackupsOnlyOnceTheLogIsInPlace)
{
    for (bool writable : {true, false}) {
        SCOPED_TRACE(writable);
        ScratchFolder s;
        ASSERT_TRUE(WriteBytes(s / L"old.dll", "old"));
        UninstallLog log;
        log.PreviousEntries = {Entry(InstalledFile, s / L"previous.dll", 1, 1)};
        log.RecordFile(s / L"old.dll", 0, false);
        log.CommitOutcome(1);
        ASSERT_TRUE(WriteBytes(s / L"old.dll", "new"));
        const std::wstring backup = log.NewEntries.back().BackupPath;
        ASSERT_TRUE(Exists(backup));

        const std::wstring file = writable ? s / L"Uninstall.ulog" : s / L"no such folder\\Uninstall.ulog";
        EXPECT_EQ(log.WriteLog(file, s.Path(), L""), writable);
        if (writable) {
            EXPECT_FALSE(Exists(backup));
            EXPECT_TRUE(log.NewEntries.back().BackupPath.empty());
            log.Rollback();  // too late: nothing comes back
            EXPECT_FALSE(Exists(s / L"old.dll"));
        } else {
            // Nothing is final: the journal holds this run's entries only,
            // and the rollback puts the old file back.
            EXPECT_NE(::GetLastError(), DWORD{ERROR_SUCCESS});
            EXPECT_TRUE(Exists(backup));
            ASSERT_EQ(log.NewEntries.size(), 1u);
            EXPECT_EQ(log.PreviousEntries.size(), 1u);
            log.Rollback();
            EXPECT_EQ(ReadBytes(s / L"old.dll"), "old");
            EXPECT_FALSE(Exists(backup));
        }
    }
}

// A rewrite that fails part-way (or cannot replace the old file) leaves the
// old file with its bytes and attributes, and nothing beside it.
TEST(ReplaceFileContents, KeepsTheOldFileUntilEveryWriteSucceeded)
{
    ScratchFolder s;
    const std::wstring file = s / L"Uninstall.ulog";
    const auto writeHalf = [](HANDLE out) {
        DWORD written = 0;
        ::WriteFile(out, "new", 3, &written, nullptr);
        return false;  // the next write failed
    };
    const auto writeAll = [](HANDLE out) {
        DWORD written = 0;
        return ::WriteFile(out, "new entries", 11, &written, nullptr) && written == 11;
    };
    ASSERT_TRUE(WriteBytes(file, "previous entries"));
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));

    EXPECT_FALSE(ReplaceFileContents(file, writeHalf, FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(ReadBytes(file), "previous entries");
    EXPECT_EQ(Attributes(file) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_FALSE(Exists(file + L".new"));

    {
        // Held by a reader that lets nobody delete it: the new file cannot take its place.
        UniqueFile reader(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        EXPECT_FALSE(ReplaceFileContents(file, writeAll, FILE_ATTRIBUTE_HIDDEN));
    }
    EXPECT_EQ(ReadBytes(file), "previous entries");
    EXPECT_TRUE(Attributes(file) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(Exists(file + L".new"));

    ASSERT_TRUE(WriteBytes(file + L".new", "left by an interrupted run"));
    EXPECT_TRUE(ReplaceFileContents(file, writeAll, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(ReadBytes(file), "new entries");
    EXPECT_EQ(Attributes(file) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_FALSE(Exists(file + L".new"));
}

TEST(ReadLog, ReadsBackWhatWriteLogWrote)
{
    ScratchFolder s;
    const std::wstring file = s / L"Uninstall.ulog";
    UninstallLog writer;
    for (std::int32_t type = 0; type <= 7; ++type)
        writer.NewEntries.push_back(Entry(type, L"C:\\path of " + std::to_wstring(type), type % 2, type == 1 ? 4 : -1));
    // Enough entries that the file spans several reads.
    for (int i = 0; i < 200; ++i)
        writer.NewEntries.push_back(Entry(InstalledFile, s / (L"file" + std::to_wstring(i) + L".dat"), 1, i % 5));
    ASSERT_TRUE(writer.WriteLog(file, s.Path(), s / L"no such menu"));

    UninstallLog reader;
    reader.ReadLog(&file);
    EXPECT_EQ(reader.PreviousProduct, L"Trelvane 7.08g");
    EXPECT_EQ(reader.InstallPath, s.Path());
    EXPECT_EQ(reader.ShortcutPath, L"") << "the folder does not exist";
    ASSERT_EQ(reader.PreviousEntries.size(), writer.NewEntries.size());
    auto w = writer.NewEntries.begin();
    for (const LogEntry& r : reader.PreviousEntries) {
        EXPECT_EQ(r.Type, w->Type);
        EXPECT_EQ(r.Outcome, w->Outcome);
        EXPECT_EQ(r.Detail, w->Detail);
        EXPECT_EQ(r.Path, (r.Type == UninstallKey || r.Type == FileTypes) ? L"" : w->Path);
        ++w;
    }
}

TEST(ReadLog, WithoutAFileOnlyEmptiesTheFolders)
{
    ScratchFolder s;
    const std::wstring missing = s / L"Uninstall.ulog";
    for (const std::wstring* file : {static_cast<const std::wstring*>(nullptr), &missing}) {
        UninstallLog log;
        log.InstallPath = L"C:\\x";
        log.ShortcutPath = L"C:\\y";
        log.ReadLog(file);
        EXPECT_TRUE(log.InstallPath.empty());
        EXPECT_TRUE(log.ShortcutPath.empty());
        EXPECT_TRUE(log.PreviousEntries.empty());
        EXPECT_TRUE(log.PreviousProduct.empty());
    }
}

TEST(ReadLog, ReadsAFileWithoutMarkInTheThreadCodePage)
{
    ScratchFolder s;
    const std::string accented = "\xC9t\xE9";  // two letters outside ASCII in most code pages
    wchar_t decoded[8] = {};
    ASSERT_GT(::MultiByteToWideChar(CP_THREAD_ACP, MB_PRECOMPOSED, accented.data(), 3, decoded, 8), 0);
    const std::string bytes = "// Uninstall Log File v1\r\n// w\r\n// Install Old\r\n// Install Path : " +
                              std::string(s.Path().begin(), s.Path().end()) +
                              "\r\n// Shortcut Path : \r\n// ----------------\r\n"
                              "0000:0103:1 -- C:\\" + accented + "\\data.cfg\r\n";
    const std::wstring file = s / L"Uninstall.ulog";
    ASSERT_TRUE(WriteBytes(file, bytes));

    UninstallLog log;
    log.ReadLog(&file);
    EXPECT_EQ(log.PreviousProduct, L"Old");
    EXPECT_EQ(log.InstallPath, s.Path());
    ASSERT_EQ(log.PreviousEntries.size(), 1u);
    EXPECT_EQ(log.PreviousEntries.front().Path, L"C:\\" + std::wstring(decoded) + L"\\data.cfg");
    EXPECT_EQ(log.PreviousEntries.front().Detail, 3);
}

TEST(ReadLog, StopsAtALineLongerThanItsBuffer)
{
    ScratchFolder s;
    const std::wstring text = L"// Uninstall Log File v1\r\n// w\r\n// Install P\r\n0000:00ff:1 -- C:\\A\r\n"
                              L"0001:00ff:1 -- " + std::wstring(1000, L'x') + L"\r\n0002:00ff:1 -- C:\\B\r\n";
    const std::wstring file = s / L"Uninstall.ulog";
    ASSERT_TRUE(WriteBytes(file, std::string("\xFF\xFE", 2) + Utf16(text)));
    UninstallLog log;
    log.ReadLog(&file);
    ASSERT_EQ(log.PreviousEntries.size(), 1u);
    EXPECT_EQ(log.PreviousEntries.front().Path, L"C:\\A");
}

}  // namespace
}  // namespace va
