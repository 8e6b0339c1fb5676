// The quiet installer: every refusal ends with its exit code and no window,
// the switches change what they say, and a failed run's log says what
// failed, what was taken back and how the run ended.

#include <windows.h>
#include <shlobj.h>

#include <gmock/gmock.h>

#include <regex>
#include <sstream>

#include "engine/package/core/package_format.h"
#include "support/instance_counter.h"
#include "support/instance_mutex.h"
#include "tests/installer/unattended_fixture.h"
#include "tests/common/host_links.h"
#include "tests/common/log_bytes.h"
#include "tests/common/registry_test_util.h"
#include "tests/common/remove_tree.h"

#include <bzlib.h>

namespace va::test {
namespace {

using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

constexpr const wchar_t* kApplicationId = L"Trelvane7";

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Special(int csidl)
{
    wchar_t buffer[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE);
    return buffer;
}

class QuietInstaller : public UnattendedTest {
protected:
    void SetUp() override
    {
        UnattendedTest::SetUp();
        if (!HaveDisplay())
            GTEST_SKIP() << "no window station: start Xvfb and set DISPLAY";
    }
};

// The folder of the runs' journals is one that only administrators can
// write; one found as a link (anybody may make one there) is never used nor
// recovered from: the run stops before it changes anything.
TEST_F(QuietInstaller, AJournalFolderThatIsALinkRefusesTheRun)
{
    const std::wstring root = Special(CSIDL_COMMON_APPDATA) + L"\\Vantaro Journal";
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring elsewhere = std::wstring(temp) + L"planted_journal_root";
    ::CreateDirectoryW(elsewhere.c_str(), nullptr);
    ASSERT_FALSE(Exists(root)) << "a journal folder left by another test";
    if (!MakeFolderLink(root, elsewhere))
        GTEST_SKIP() << "no folder link can be made here";

    const WatchedRun run = RunQuiet();
    RemoveFolderLink(root);
    ::RemoveDirectoryW(elsewhere.c_str());
    EXPECT_EQ(run.exitCode, 1603u);
    EXPECT_THAT(run.visibleWindows, IsEmpty());
    const std::string log = RunLogText();
    EXPECT_THAT(log, HasSubstr("interrupted run not undone: " + std::string(root.begin(), root.end()) + ", error 4395"));
    EXPECT_THAT(log, Not(HasSubstr("Copying File")));
}

TEST_F(QuietInstaller, EveryRefusalEndsWithItsCodeAndNoWindow)
{
    struct Case {
        const char* what;
        std::wstring arguments;
        DWORD code;
        bool logged;  // the log could be made
    };
    const Case cases[] = {
        {"unknown switch", L"/silent", 87, false},
        {"relative /dir", L"/dir=Apps\\Trelvane", 87, false},
        {"/quiet with /passive", L"/passive", 87, false},
        {"language not of the product", L"/lang=da", 87, false},
        {"help", L"/?", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::DeleteFileW(runLog_.c_str());
        const WatchedRun run = RunQuiet(c.arguments);
        EXPECT_EQ(run.exitCode, c.code);
        EXPECT_THAT(run.visibleWindows, IsEmpty());
        if (c.logged) {
            EXPECT_THAT(RunLogText(), HasSubstr("exit code " + std::to_string(c.code)));
        }
    }
    const std::string bad = RunLogText();

    {
        SCOPED_TRACE("a log that cannot be made");
        const WatchedRun run = RunWatched(InstallerProgram(), L"/quiet /log=C:\\no such folder\\x\\i.log");
        EXPECT_EQ(run.exitCode, 87u);
        EXPECT_THAT(run.visibleWindows, IsEmpty());
    }
    {
        SCOPED_TRACE("another installer holds the mutex");
        InstanceMutex held;
        held.Create(InstanceMutexName(kApplicationId), true);
        ASSERT_TRUE(held.owned());
        const WatchedRun run = RunQuiet();
        EXPECT_EQ(run.exitCode, 1618u);
        EXPECT_THAT(run.visibleWindows, IsEmpty());
        EXPECT_THAT(RunLogText(), HasSubstr("exit code 1618"));
    }
    {
        SCOPED_TRACE("the product is running");
        InstanceCounter other;
        other.Register(kApplicationId);
        const WatchedRun run = RunQuiet();
        EXPECT_EQ(run.exitCode, 170u);
        EXPECT_THAT(run.visibleWindows, IsEmpty());
        EXPECT_THAT(RunLogText(), HasSubstr("You should close 'Trelvane' before continuing Installation."));
        EXPECT_THAT(RunLogText(), HasSubstr("exit code 170"));
    }
    {
        SCOPED_TRACE("a newer version is installed");
        ASSERT_TRUE(SetInstalledProgram(FixtureProgram(L"7_9_0_0")));
        const WatchedRun run = RunQuiet();
        EXPECT_EQ(run.exitCode, 1638u);
        EXPECT_THAT(run.visibleWindows, IsEmpty());
        EXPECT_THAT(RunLogText(), HasSubstr("install kind NewerInstalled"));
        EXPECT_THAT(RunLogText(), HasSubstr("exit code 1638"));
        EXPECT_FALSE(Exists(DemoLayout().installFolder));
    }
}

TEST_F(QuietInstaller, SwitchesChooseTheFoldersTheShortcutsAndTheLanguage)
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"unattended dir test\\Trelvane";
    const std::wstring group = Special(CSIDL_COMMON_STARTMENU) + L"\\Unattended Test\\Group";
    RemoveTree(std::wstring(temp) + L"unattended dir test");
    RemoveTree(Special(CSIDL_COMMON_STARTMENU) + L"\\Unattended Test");

    // "/norestart" as deployment tools append it: taken, and nothing restarts.
    const WatchedRun run =
        RunQuiet(L"\"/dir=" + folder + L"\" \"/group=Unattended Test\\Group\" /nodesktop /lang=de /norestart");
    const std::string log = RunLogText();
    EXPECT_EQ(run.exitCode, 0u) << log;
    EXPECT_THAT(run.visibleWindows, IsEmpty());
    EXPECT_TRUE(Exists(folder + L"\\Trelvane.exe"));
    EXPECT_TRUE(Exists(folder + L"\\Uninstall.ulog"));
    EXPECT_FALSE(Exists(DemoLayout().mainProgram));
    EXPECT_TRUE(Exists(group)) << "the Start-menu folder below the Start menu";
    EXPECT_FALSE(Exists(Special(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Trelvane 7.08g.lnk"));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage"), 2u);
    // A folder with blanks: the quiet command quotes the uninstaller's path.
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"QuietUninstallString"),
              L"\"" + folder + L"\\Uninstall.exe\" /quiet");
    EXPECT_THAT(log, HasSubstr("interface language 2"));
    EXPECT_THAT(log, HasSubstr("installation folder " + Utf8(folder)));
    EXPECT_THAT(log, HasSubstr("desktop shortcut no"));
    // Every line carries its time.
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        EXPECT_TRUE(std::regex_search(line, std::regex("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d "))) << line;

    // Over it, an update-less reinstallation keeps its folder whatever /dir
    // says; /nostartmenu leaves the Start menu alone; an untranslated
    // language falls back to English as on the Start page.
    RemoveTree(Special(CSIDL_COMMON_STARTMENU) + L"\\Unattended Test");
    ::DeleteFileW(runLog_.c_str());
    const WatchedRun again = RunQuiet(L"/dir=C:\\Elsewhere /nostartmenu /lang=nl");
    const std::string second = RunLogText();
    EXPECT_EQ(again.exitCode, 0u) << second;
    EXPECT_THAT(again.visibleWindows, IsEmpty());
    EXPECT_THAT(second, HasSubstr("install kind Reinstall"));
    EXPECT_THAT(second, HasSubstr("/dir not taken"));
    EXPECT_FALSE(Exists(L"C:\\Elsewhere"));
    EXPECT_FALSE(Exists(group));
    EXPECT_THAT(second, HasSubstr("shall run in English"));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage"), 1u);

    RemoveTree(std::wstring(temp) + L"unattended dir test");
    RemoveTree(Special(CSIDL_COMMON_STARTMENU) + L"\\Unattended Test");
}

// The installer with its package's last byte changed: the last file fails
// its CRC check once it is written.
std::wstring InstallerWithDamagedLastFile(const std::wstring& folder)
{
    const std::wstring copy = folder + L"\\InstallTrelvane7.08g.exe";
    if (!::CopyFileW(InstallerProgram().c_str(), copy.c_str(), FALSE))
        return {};
    std::string package;
    {
        HMODULE image = ::LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC found = image ? ::FindResourceW(image, MAKEINTRESOURCEW(134), MAKEINTRESOURCEW(260)) : nullptr;
        HGLOBAL loaded = found ? ::LoadResource(image, found) : nullptr;
        if (loaded)
            package.assign(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(image, found));
        if (image)
            ::FreeLibrary(image);
    }
    if (package.empty())
        return {};
    std::string plain(64u << 20, '\0');
    unsigned plainLength = static_cast<unsigned>(plain.size());
    if (BZ2_bzBuffToBuffDecompress(plain.data(), &plainLength, package.data(), static_cast<unsigned>(package.size()),
                                   0, 0) != BZ_OK)
        return {};
    plain.resize(plainLength);
    plain.back() = static_cast<char>(plain.back() ^ 0x5A);
    std::string packed(plain.size() + plain.size() / 100 + 600, '\0');
    unsigned packedLength = static_cast<unsigned>(packed.size());
    if (BZ2_bzBuffToBuffCompress(packed.data(), &packedLength, plain.data(), plainLength, 9, 0, 0) != BZ_OK)
        return {};
    HANDLE update = ::BeginUpdateResourceW(copy.c_str(), FALSE);
    if (!update)
        return {};
    const bool replaced = ::UpdateResourceW(update, MAKEINTRESOURCEW(260), MAKEINTRESOURCEW(134),
                                            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), packed.data(), packedLength);
    if (!::EndUpdateResourceW(update, !replaced) || !replaced)
        return {};
    return copy;
}

TEST_F(QuietInstaller, AFailedRunIsRolledBackAndItsLogSaysHow)
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"unattended damaged package";
    RemoveTree(folder);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring damaged = InstallerWithDamagedLastFile(folder);
    ASSERT_FALSE(damaged.empty()) << "the damaged installer could not be made";

    const MachineSnapshot before = MachineSnapshot::Take(ProductScope());
    const WatchedRun run = RunQuiet({}, damaged);
    const std::string log = RunLogText();
    EXPECT_EQ(run.exitCode, 1603u) << log;
    EXPECT_THAT(run.visibleWindows, IsEmpty());
    EXPECT_THAT(Differences(before, MachineSnapshot::Take(ProductScope())), IsEmpty());
    EXPECT_THAT(log, HasSubstr("Installation failed (Error Code 3)."));
    EXPECT_THAT(log, HasSubstr("rollback: file " + Utf8(DemoLayout().mainProgram)));
    EXPECT_THAT(log, HasSubstr("rollback: folder " + Utf8(DemoLayout().installFolder)));
    EXPECT_THAT(log, HasSubstr("Failed"));
    EXPECT_THAT(log, HasSubstr("exit code 1603"));
    RemoveTree(folder);
}

// Anyone may leave an "Uninstall.ulog" in a download folder: found beside
// the installer (no log beside the installed uninstaller), it must not
// choose the folder of a reinstallation, and the run log says it was passed
// over.
TEST_F(QuietInstaller, APlantedLogBesideTheInstallerChoosesNothing)
{
    const WatchedRun first = RunQuiet();
    ASSERT_EQ(first.exitCode, 0u) << RunLogText();
    const std::wstring installedLog = DemoLayout().installFolder + L"\\Uninstall.ulog";
    ::SetFileAttributesW(installedLog.c_str(), FILE_ATTRIBUTE_NORMAL);  // the log is written read-only
    ASSERT_TRUE(::DeleteFileW(installedLog.c_str()));

    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring downloads = std::wstring(temp) + L"unattended planted log";
    const std::wstring target = std::wstring(temp) + L"unattended planted target";
    RemoveTree(downloads);
    RemoveTree(target);
    ::CreateDirectoryW(downloads.c_str(), nullptr);
    ::CreateDirectoryW(target.c_str(), nullptr);
    const std::wstring installer = downloads + L"\\InstallTrelvane7.08g.exe";
    ASSERT_TRUE(::CopyFileW(InstallerProgram().c_str(), installer.c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(downloads + L"\\Uninstall.ulog",
                           Utf16File(L"// Uninstall Log File v1\r\n"
                                     L"// ############ WARNING: Do not delete or modify this file. ############\r\n"
                                     L"// Install Trelvane 7.08g\r\n"
                                     L"// Install Path : " + target + L"\r\n"
                                     L"// Shortcut Path : \r\n"
                                     L"// -------------------\r\n")));

    ::DeleteFileW(runLog_.c_str());
    const WatchedRun again = RunQuiet({}, installer);
    const std::string log = RunLogText();
    EXPECT_EQ(again.exitCode, 0u) << log;
    EXPECT_THAT(log, HasSubstr("install kind Reinstall"));
    EXPECT_THAT(log, HasSubstr("ignored a log beside the installer that does not describe the installed program's "
                               "folder: " + Utf8(downloads + L"\\Uninstall.ulog")));
    EXPECT_FALSE(Exists(target + L"\\Trelvane.exe")) << "installed where the planted log said";
    EXPECT_TRUE(Exists(DemoLayout().mainProgram));
    EXPECT_THAT(log, HasSubstr("installation folder " + Utf8(DemoLayout().installFolder)));
    RemoveTree(downloads);
    RemoveTree(target);
}

// A user of the machine puts a second name of a file of theirs (or of one
// they may only read) in place of a data file: the reinstallation keeps the
// data file but gives it no rights, which the other file would receive, and
// names it in the run log.
TEST_F(QuietInstaller, AReinstallationGivesNoRightsThroughASecondName)
{
    const WatchedRun first = RunQuiet();
    ASSERT_EQ(first.exitCode, 0u) << RunLogText();
    const DemoInstallation d = DemoLayout();
    ASSERT_FALSE(d.dataFiles.empty());
    const std::wstring data = d.dataFiles.front();
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"unattended second name";
    RemoveTree(folder);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring victim = folder + L"\\victim.bin";
    ASSERT_TRUE(WriteBytes(victim, "somebody's file"));
    ::SetFileAttributesW(data.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(::DeleteFileW(data.c_str()));
    if (!::CreateHardLinkW(data.c_str(), victim.c_str(), nullptr)) {
        RemoveTree(folder);
        GTEST_SKIP() << "this file system makes no second name of a file (CreateHardLinkW)";
    }

    ::DeleteFileW(runLog_.c_str());
    const WatchedRun again = RunQuiet();
    const std::string log = RunLogText();
    EXPECT_EQ(again.exitCode, 0u) << log;
    EXPECT_THAT(log, HasSubstr("rights not given through a link or a second name: " + Utf8(data)));
    EXPECT_EQ(FileBytes(victim), "somebody's file");
    RemoveTree(folder);
}

// The names in a folder, "." and ".." left out.
std::vector<std::wstring> NamesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return names;
}

// A user of the machine replaces the shared data folder by a link to a
// folder of theirs before the installation: nothing is written through it,
// the run fails with the refusal and is rolled back.
TEST_F(QuietInstaller, NothingIsInstalledThroughALinkInPlaceOfASharedFolder)
{
    const DemoInstallation d = DemoLayout();
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring victims = std::wstring(temp) + L"unattended link victims";
    RemoveTree(victims);
    ::CreateDirectoryW(victims.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(victims + L"\\keep.txt", "somebody's file"));
    const std::wstring maker = d.dataFolder.substr(0, d.dataFolder.find_last_of(L'\\'));
    ::CreateDirectoryW(maker.c_str(), nullptr);
    struct LinkGone {
        std::wstring link;
        ~LinkGone() { RemoveFolderLink(link); }
    } gone{d.dataFolder};
    if (!MakeFolderLink(d.dataFolder, victims)) {
        RemoveTree(victims);
        GTEST_SKIP() << "no folder link could be made here: neither the system (CreateSymbolicLinkW) nor, under "
                        "Wine, the host's ln";
    }

    const WatchedRun run = RunQuiet();
    const std::string log = RunLogText();
    EXPECT_EQ(run.exitCode, 1603u) << log;
    EXPECT_THAT(log, HasSubstr("Installation failed (Error Code 1:00000780)"));  // 1920, the refusal
    EXPECT_EQ(NamesIn(victims), std::vector<std::wstring>{L"keep.txt"}) << log;
    EXPECT_EQ(FileBytes(victims + L"\\keep.txt"), "somebody's file");
    EXPECT_FALSE(Exists(d.mainProgram)) << "not rolled back";
    RemoveFolderLink(d.dataFolder);
    RemoveTree(victims);
}

}  // namespace
}  // namespace va::test
