// A quiet uninstallation leaves the machine as it was before the
// installation, but for the data files the user keeps; what it cannot
// remove now it leaves to the restart, and what lies outside the product's
// folders it never touches.

#include <windows.h>

#include <gmock/gmock.h>

#include <algorithm>

#include "engine/journal/disk_journal.h"
#include "support/handles.h"
#include "engine/journal/protected_root.h"
#include "engine/journal/uninstall_log.h"
#include "tests/common/registry_test_util.h"
#include "tests/uninstaller/uninstall_fixture.h"

namespace va::test {
namespace {

using testing::HasSubstr;
using testing::IsEmpty;

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether a restart deletion names the uninstaller's own copy.
bool CopyLeftToRestart()
{
    for (const std::wstring& path : RestartDeletions())
        if (path.find(L"vantaro_{") != std::wstring::npos && path.ends_with(L"\\Uninstall.exe"))
            return true;
    return false;
}

using QuietUninstall = UninstallTest;

std::string FileText(const std::wstring& path)
{
    UniqueFile in(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text(4096, '\0');
    DWORD got = 0;
    if (!in || !::ReadFile(in.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr))
        return {};
    text.resize(got);
    return text;
}

bool WriteText(const std::wstring& path, const std::string& text)
{
    UniqueFile out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return out && ::WriteFile(out.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// An installation run killed over an installed product: its journal on
// disk is undone before the uninstaller looks at what is installed.
TEST_F(QuietUninstall, FirstUndoesAnInstallationThatWasKilled)
{
    const DemoInstallation d = InstallDemo();
    const std::wstring dataFile = d.dataFiles.at(0);
    const std::string dataBefore = FileText(dataFile);
    const std::wstring newFolder = d.installFolder + L"\\Added";
    {
        UninstallLog run;
        DiskJournal disk;
        ASSERT_EQ(disk.Begin(DefaultJournalRoot(), L"Trelvane 7"), static_cast<DWORD>(ERROR_SUCCESS));
        run.Disk = &disk;
        ASSERT_EQ(run.RecordFile(dataFile, 3, false), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_TRUE(WriteText(dataFile, "half"));
        ASSERT_EQ(run.RecordFile(newFolder + L"\\new.dll", 0, false), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_TRUE(WriteText(newFolder + L"\\new.dll", "new"));
    }  // killed: neither committed nor rolled back

    EXPECT_EQ(RunQuietly(d), 0u) << RunLogText();
    EXPECT_THAT(RunLogText(), HasSubstr("interrupted run undone: 3 changes"));
    EXPECT_EQ(FileText(dataFile), dataBefore) << "the data file the user keeps is the one from before";
    EXPECT_FALSE(Exists(newFolder));
    EXPECT_FALSE(Exists(DefaultJournalRoot()));
    EXPECT_THAT(ChangesSinceStart(d.dataFiles), IsEmpty()) << Narrow(ChangesSinceStart(d.dataFiles));
}

TEST_F(QuietUninstall, LeavesTheMachineAsBeforeButTheDataFilesItKeeps)
{
    DemoInstallOptions withFileTypes;
    withFileTypes.fileTypes = true;
    const DemoInstallation d = InstallDemo(withFileTypes);
    ASSERT_TRUE(Exists(d.uninstaller));
    ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L".tv-proj"));
    ASSERT_EQ(d.shortcuts.size(), 3u);
    ASSERT_GT(ChangesSinceStart().size(), 30u) << "the installation changed nothing?";

    EXPECT_EQ(RunQuietly(d), 0u) << RunLogText();

    EXPECT_THAT(ChangesSinceStart(d.dataFiles), IsEmpty()) << Narrow(ChangesSinceStart(d.dataFiles));
    for (const std::wstring& data : d.dataFiles)
        EXPECT_TRUE(Exists(data));
    EXPECT_FALSE(Exists(d.installFolder)) << "the copy removes the installation folder";
    EXPECT_TRUE(CopyLeftToRestart()) << "the copy leaves itself to the restart";
    const std::string log = RunLogText();
    EXPECT_THAT(log, HasSubstr("failed 0"));
    EXPECT_THAT(log, HasSubstr("kept " + std::string(d.dataFiles[0].begin(), d.dataFiles[0].end()) + " (data file)"));
    EXPECT_THAT(log, HasSubstr("copy: removed " + std::string(d.uninstaller.begin(), d.uninstaller.end())));
    EXPECT_THAT(log, HasSubstr("copy: exit code 0"));
}

TEST_F(QuietUninstall, AnUpdateGoesWholeWithTheFilesOfBothInstallations)
{
    DemoInstallOptions older;
    older.mainProgram = L"trelvane-7.8.7.0\\Trelvane.exe";
    older.extraFiles = {L"Lang\\TrelvaneITA.dll", L"Legacy\\Convert.dll"};
    InstallDemo(older);
    DemoInstallOptions update;
    update.overPrevious = true;
    const DemoInstallation d = InstallDemo(update);
    ASSERT_TRUE(Exists(d.installFolder + L"\\Legacy\\Convert.dll"));

    EXPECT_EQ(RunQuietly(d), 0u) << RunLogText();
    EXPECT_THAT(ChangesSinceStart(d.dataFiles), IsEmpty()) << Narrow(ChangesSinceStart(d.dataFiles));
}

TEST_F(QuietUninstall, AReinstallationGoesWholeAndWithPurgeItsDataToo)
{
    InstallDemo();
    DemoInstallOptions again;
    again.overPrevious = true;
    const DemoInstallation d = InstallDemo(again);

    EXPECT_EQ(RunQuietly(d, L"/purge"), 0u) << RunLogText();
    EXPECT_THAT(ChangesSinceStart(), IsEmpty()) << Narrow(ChangesSinceStart());
}

TEST_F(QuietUninstall, AFileHeldOpenWaitsForTheRestartAndEverythingElseGoes)
{
    const DemoInstallation d = InstallDemo();
    const std::wstring held = d.installFolder + L"\\Lang\\TrelvaneDEU.dll";
    std::vector<std::wstring> deletions;
    {
        // Open without sharing deletion, as a program using it would.
        UniqueFile handle(::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(handle);
        EXPECT_EQ(RunQuietly(d), 3010u) << RunLogText();
        EXPECT_TRUE(Exists(held));
        deletions = RestartDeletions();
    }
    // The file first, then the folders it kept from going, innermost first.
    const std::wstring lang = d.installFolder + L"\\Lang";
    const std::wstring maker = d.installFolder.substr(0, d.installFolder.find_last_of(L'\\'));
    const auto at = [&deletions](const std::wstring& path) {
        return std::find(deletions.begin(), deletions.end(), path) - deletions.begin();
    };
    ASSERT_LT(at(held), static_cast<std::ptrdiff_t>(deletions.size())) << Narrow(deletions);
    EXPECT_LT(at(held), at(lang)) << Narrow(deletions);
    EXPECT_LT(at(lang), at(d.installFolder)) << Narrow(deletions);
    EXPECT_LT(at(d.installFolder), at(maker)) << Narrow(deletions);
    EXPECT_LT(at(maker), static_cast<std::ptrdiff_t>(deletions.size())) << Narrow(deletions);

    // Until the restart only the held file and its folders are left.
    std::vector<std::wstring> expected = d.dataFiles;
    expected.push_back(held);
    EXPECT_THAT(ChangesSinceStart(expected), IsEmpty()) << Narrow(ChangesSinceStart(expected));
    CarryOutRestartDeletions();
    EXPECT_THAT(ChangesSinceStart(d.dataFiles), IsEmpty()) << Narrow(ChangesSinceStart(d.dataFiles));
}

TEST_F(QuietUninstall, AFolderAnotherProcessWorksInWaitsForTheRestart)
{
    const DemoInstallation d = InstallDemo();
    const std::wstring lang = d.installFolder + L"\\Lang";
    std::vector<std::wstring> deletions;
    {
        // Held without sharing deletion, as a process's current folder is.
        UniqueFile handle(::CreateFileW(lang.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        ASSERT_TRUE(handle);
        EXPECT_EQ(RunQuietly(d), 3010u) << RunLogText();
        EXPECT_TRUE(Exists(lang));
        deletions = RestartDeletions();
    }
    const auto at = [&deletions](const std::wstring& path) {
        return std::find(deletions.begin(), deletions.end(), path) - deletions.begin();
    };
    ASSERT_LT(at(lang), static_cast<std::ptrdiff_t>(deletions.size())) << Narrow(deletions);
    EXPECT_LT(at(lang), at(d.installFolder)) << Narrow(deletions);
    EXPECT_LT(at(d.installFolder), static_cast<std::ptrdiff_t>(deletions.size())) << Narrow(deletions);
    EXPECT_THAT(RunLogText(), HasSubstr("failed 0"));

    CarryOutRestartDeletions();
    EXPECT_THAT(ChangesSinceStart(d.dataFiles), IsEmpty()) << Narrow(ChangesSinceStart(d.dataFiles));
}

// Adds entries to an installation's log with the engine's writer.
void AddToLog(const DemoInstallation& d, const std::vector<LogEntry>& entries)
{
    UninstallLog log;
    log.ReadLog(&d.log);
    for (const LogEntry& entry : entries)
        log.NewEntries.push_back(entry);
    ASSERT_TRUE(log.WriteLog(d.log, d.installFolder, d.startMenuFolder));
}

LogEntry Entry(std::int32_t type, const std::wstring& path, std::int32_t detail = -1)
{
    LogEntry e;
    e.Type = type;
    e.Path = path;
    e.Detail = detail;
    e.Outcome = 1;
    return e;
}

TEST_F(QuietUninstall, APathOutsideTheProductsFoldersSurvives)
{
    const DemoInstallation d = InstallDemo();
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring outsideFolder = std::wstring(temp) + L"uninstaller_outside";
    ::CreateDirectoryW(outsideFolder.c_str(), nullptr);
    const std::wstring outside = outsideFolder + L"\\keep.txt";
    const std::wstring escaping = outsideFolder + L"\\escape.txt";
    for (const std::wstring& file : {outside, escaping}) {
        UniqueFile made(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(made);
    }
    wchar_t windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH + 1);
    const std::wstring system = std::wstring(windows) + L"\\win.ini";
    ASSERT_TRUE(Exists(system));
    // "..\" climbs from the installation folder to the scratch file.
    std::wstring climb = d.installFolder;
    for (std::size_t n = std::count(d.installFolder.begin(), d.installFolder.end(), L'\\'); n > 0; --n)
        climb += L"\\..";
    climb += outsideFolder.substr(2) + L"\\escape.txt";
    AddToLog(d, {Entry(CreatedFolder, outsideFolder), Entry(InstalledFile, outside, 4), Entry(InstalledFile, climb, 0),
                 Entry(InstalledFile, system, 0)});

    EXPECT_EQ(RunQuietly(d, L"/purge"), 0u) << RunLogText();

    EXPECT_TRUE(Exists(outside));
    EXPECT_TRUE(Exists(escaping));
    EXPECT_TRUE(Exists(system));
    EXPECT_THAT(ChangesSinceStart(), IsEmpty()) << Narrow(ChangesSinceStart());
    const std::string log = RunLogText();
    EXPECT_THAT(log, HasSubstr("keep.txt (outside the product's folders)"));
    EXPECT_THAT(log, HasSubstr("win.ini (outside the product's folders)"));
    ::DeleteFileW(outside.c_str());
    ::DeleteFileW(escaping.c_str());
    ::RemoveDirectoryW(outsideFolder.c_str());
}

TEST_F(QuietUninstall, WhatCouldNotBeRemovedStaysInTheLogAndASecondRunFinishes)
{
    const DemoInstallation d = InstallDemo();
    // A folder the log made, which now holds a file of the user's: it stays,
    // and so does everything above it, but nothing blocks the rest.
    const std::wstring mine = d.installFolder + L"\\Lang\\mine.txt";
    {
        UniqueFile made(::CreateFileW(mine.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(made);
    }
    // A file that cannot be deleted now nor scheduled: a folder in its place
    // after installation makes the deletion fail for good.
    const std::wstring blocked = d.installFolder + L"\\Lang\\TrelvaneENU.dll";
    ::SetFileAttributesW(blocked.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(::DeleteFileW(blocked.c_str()));
    ASSERT_TRUE(::CreateDirectoryW(blocked.c_str(), nullptr));

    EXPECT_EQ(RunQuietly(d, L"/purge"), 1603u) << RunLogText();
    EXPECT_TRUE(Exists(d.uninstaller)) << "the uninstaller stays for a second run";
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7"));
    EXPECT_FALSE(Exists(d.mainProgram));
    UninstallLog left;
    left.ReadLog(&d.log);
    std::vector<std::wstring> paths;
    for (const LogEntry& e : left.PreviousEntries)
        paths.push_back(e.Path);
    EXPECT_THAT(paths, testing::Contains(blocked));
    EXPECT_THAT(paths, testing::Contains(d.uninstaller));
    EXPECT_THAT(paths, testing::Not(testing::Contains(d.mainProgram)));

    // The user clears the way; the second run finishes the job.
    ASSERT_TRUE(::RemoveDirectoryW(blocked.c_str()));
    ASSERT_TRUE(::DeleteFileW(mine.c_str()));
    EXPECT_EQ(RunQuietly(d, L"/purge"), 0u) << RunLogText();
    EXPECT_THAT(ChangesSinceStart(), IsEmpty()) << Narrow(ChangesSinceStart());
}

// A relative "/log" names the file in the folder the uninstaller was started
// from, for the original and for its copy, which starts elsewhere.
TEST_F(QuietUninstall, ARelativeLogIsOneFileForTheOriginalAndItsCopy)
{
    const DemoInstallation d = InstallDemo();
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring startFolder = std::wstring(temp) + L"uninstaller_relative_log";
    ::CreateDirectoryW(startFolder.c_str(), nullptr);
    const std::wstring log = startFolder + L"\\relative.log";
    ::DeleteFileW(log.c_str());
    wchar_t before[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(::SetCurrentDirectoryW(startFolder.c_str()));
    const DWORD code = RunUninstaller(d, L"/quiet /log=relative.log");
    ::SetCurrentDirectoryW(before);

    EXPECT_EQ(code, 0u);
    std::string text;
    {
        UniqueFile file(::CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        char chunk[4096];
        DWORD got = 0;
        while (file && ::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
            text.append(chunk, got);
    }
    EXPECT_THAT(text, HasSubstr("uninstaller "));
    EXPECT_THAT(text, HasSubstr("copy: exit code 0"));
    ::DeleteFileW(log.c_str());
    ::RemoveDirectoryW(startFolder.c_str());
}

}  // namespace
}  // namespace va::test
