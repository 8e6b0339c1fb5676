#include <shlobj.h>

#include <regex>
#include <stdexcept>
#include <thread>

#include "installer/install_app.h"
#include "installer/previous_installation.h"
#include <shlwapi.h>

#include "support/instance_mutex.h"
#include "support/message_hooks.h"
#include "support/system_checks.h"
#include "tests/installer/startup_fixture.h"

namespace va::test {
namespace {

std::wstring SystemFolder(int csidl)
{
    wchar_t buffer[MAX_PATH + 1] = {};
    return ::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE) ? buffer : L"";
}

class PreviousFolders : public ProductKeysCleared {
protected:
    // A previous installation whose log names `installFolder` and
    // `startMenuFolder`, its uninstaller found through the uninstall key.
    void WritePreviousLog(const std::wstring& installFolder, const std::wstring& startMenuFolder)
    {
        const std::wstring folder = scratch.Folder(L"installed");
        ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"UninstallString",
                              folder + L"\\Uninstall.exe"));
        UninstallLog log;
        ASSERT_TRUE(log.WriteLog(folder + L"\\Uninstall.ulog", installFolder, startMenuFolder));
    }
    ScratchFolder scratch{L"vantaro previous folders test"};
};

TEST_F(PreviousFolders, ReinstallAndUpdateTakeTheLogsFoldersWhenTheyStillExist)
{
    const std::wstring installFolder = scratch.Folder(L"product");
    const std::wstring menuFolder = scratch.Folder(L"menu");
    WritePreviousLog(installFolder, menuFolder);
    for (std::int32_t kind : {Reinstall, Update}) {
        SCOPED_TRACE(kind);
        CInstallApp app;
        app.InstallKind = kind;
        app.TakePreviousFolders();
        EXPECT_EQ(app.InstallFolder, installFolder);
        EXPECT_EQ(app.StartMenuFolder, menuFolder);
        EXPECT_TRUE(app.CreateStartMenuShortcut);
        EXPECT_TRUE(app.CreateDesktopShortcut);
        EXPECT_FALSE(app.AdvancedInstallation);
    }
}

TEST_F(PreviousFolders, FoldersThatNoLongerExistLeaveTheDefaults)
{
    WritePreviousLog((scratch.path() / L"gone product").wstring(), (scratch.path() / L"gone menu").wstring());
    CInstallApp app;
    app.InstallKind = Update;
    app.TakePreviousFolders();
    EXPECT_EQ(app.InstallFolder, DefaultInstallFolder());
    EXPECT_EQ(app.StartMenuFolder, DefaultStartMenuFolder());
}

TEST_F(PreviousFolders, FreshAndNewerInstalledReadNoLog)
{
    WritePreviousLog(scratch.Folder(L"product"), scratch.Folder(L"menu"));
    for (std::int32_t kind : {Fresh, NewerInstalled}) {
        SCOPED_TRACE(kind);
        CInstallApp app;
        app.InstallKind = kind;
        app.TakePreviousFolders();
        EXPECT_EQ(app.InstallFolder, DefaultInstallFolder());
        EXPECT_EQ(app.StartMenuFolder, DefaultStartMenuFolder());
        EXPECT_TRUE(app.PreviousLog.PreviousEntries.empty());
    }
}

TEST(DefaultFolders, AreTheSystemFoldersWithMakerAndProduct)
{
    const std::wstring programFiles = SystemFolder(CSIDL_PROGRAM_FILES);
    const std::wstring commonPrograms = SystemFolder(CSIDL_COMMON_PROGRAMS);
    ASSERT_FALSE(programFiles.empty());
    ASSERT_FALSE(commonPrograms.empty());
    EXPECT_EQ(DefaultInstallFolder(), programFiles + L"\\Vantaro\\Trelvane 7");
    EXPECT_EQ(DefaultStartMenuFolder(), commonPrograms + L"\\Vantaro\\Trelvane 7");
}

TEST(DefaultFolders, FallBackSoundlyWhenTheSystemWillNotSay)
{
    const SpecialFolderQuery nothing = [](int, wchar_t*) { return false; };
    const std::wstring folder = DefaultInstallFolder(nothing);
    EXPECT_FALSE(::PathIsRelativeW(folder.c_str())) << std::string(folder.begin(), folder.end());
    EXPECT_TRUE(folder.ends_with(L"\\Vantaro\\Trelvane 7"));

    int asked = 0;
    const SpecialFolderQuery onlyPersonal = [&](int csidl, wchar_t* buffer) {
        ++asked;
        if (csidl != CSIDL_PROGRAMS)
            return false;
        wcscpy(buffer, L"C:\\Menu");
        return true;
    };
    EXPECT_EQ(DefaultStartMenuFolder(onlyPersonal), L"C:\\Menu\\Vantaro\\Trelvane 7");
    EXPECT_EQ(asked, 2);

    EXPECT_EQ(DefaultStartMenuFolder(nothing), L"") << "never a folder relative to the current one";
}

// A system folder so long that the maker's and the product's names do not
// both fit: no default rather than the bare system folder (or the maker's).
TEST(DefaultFolders, AreEmptyWhenTheNamesDoNotFit)
{
    for (std::size_t length : {std::size_t{245}, std::size_t{254}}) {
        SCOPED_TRACE(length);
        const std::wstring system = L"C:\\" + std::wstring(length - 3, L'p');
        const SpecialFolderQuery longFolder = [&system](int, wchar_t* buffer) {
            wcscpy(buffer, system.c_str());
            return true;
        };
        EXPECT_EQ(DefaultInstallFolder(longFolder), L"");
        EXPECT_EQ(DefaultStartMenuFolder(longFolder), L"");
    }
    const std::wstring fits = L"C:\\" + std::wstring(236, L'p');  // + "\\Vantaro\\Trelvane 7" = 259
    const SpecialFolderQuery fitting = [&fits](int, wchar_t* buffer) {
        wcscpy(buffer, fits.c_str());
        return true;
    };
    EXPECT_EQ(DefaultInstallFolder(fitting), fits + L"\\Vantaro\\Trelvane 7");
}

TEST(TemporaryFolder, IsANewVersion4UuidNameInTheTemporaryFolderNotYetMade)
{
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    std::wstring tempPath(temp, length);
    if (tempPath.back() != L'\\')
        tempPath += L'\\';
    const std::wregex form(L"vantaro_\\{[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}\\}");

    CInstallApp app;
    std::wstring error;
    ASSERT_TRUE(app.MakeTemporaryFolder(error));
    const std::wstring first = app.TemporaryFolder;
    ASSERT_TRUE(app.MakeTemporaryFolder(error));
    EXPECT_NE(app.TemporaryFolder, first);
    for (const std::wstring& folder : {first, app.TemporaryFolder}) {
        ASSERT_TRUE(folder.starts_with(tempPath)) << std::string(folder.begin(), folder.end());
        EXPECT_TRUE(std::regex_match(folder.substr(tempPath.size()), form))
            << std::string(folder.begin(), folder.end());
        EXPECT_EQ(::GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(error, L"");
}

// The temporary path comes from TMP; each case sets it to a folder name of
// the given length (trailing backslash included).
TEST(TemporaryFolder, FailsWhenTheTemporaryPathLeavesNoRoomForTheName)
{
    struct RestoreTmp {
        wchar_t saved[MAX_PATH + 1] = {};
        DWORD length = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH + 1);
        ~RestoreTmp() { ::SetEnvironmentVariableW(L"TMP", length ? saved : nullptr); }
    } restore;
    struct Case {
        size_t length;
        bool made;
        const wchar_t* error;  // how the error text ends
    };
    const Case cases[] = {
        {100, true, L""},
        {213, true, L""},  // the name's 46 characters fill the buffer exactly
        {214, false, L"000000ce (PathAppend)"},
        {246, false, L"000000ce (PathAppend)"},
        {247, false, L" (GetTempPath)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::wstring temp = L"C:\\" + std::wstring(c.length - 4, L't') + L"\\";
        ASSERT_TRUE(::SetEnvironmentVariableW(L"TMP", temp.c_str()));
        wchar_t seen[MAX_PATH + 1] = {};
        if (::GetTempPathW(MAX_PATH + 1, seen) != c.length || temp != seen)
            GTEST_SKIP() << "this system does not take the temporary path from TMP as given";

        CInstallApp app;
        std::wstring error;
        EXPECT_EQ(app.MakeTemporaryFolder(error), c.made);
        if (c.made) {
            EXPECT_EQ(app.TemporaryFolder.size(), c.length + 46);
            EXPECT_TRUE(app.TemporaryFolder.starts_with(temp + L"vantaro_{"));
            EXPECT_EQ(error, L"");
        } else {
            EXPECT_EQ(app.TemporaryFolder, L"");
            EXPECT_TRUE(error.ends_with(c.error)) << std::string(error.begin(), error.end());
        }
    }
}

TEST(StartupReport, AFailureWhileReportingDoesNotLeaveInitInstance)
{
    struct Restore {
        bool processor = ProcessorSupported;
        ~Restore()
        {
            ProcessorSupported = processor;
            SetCaptionHook({});
            InstallDefaultMessageHooks();
        }
    } restore;
    CInstallApp app;
    ProcessorSupported = false;  // start-up reports E_UNEXPECTED at once
    SetCaptionHook([]() -> std::wstring { throw std::runtime_error("no caption"); });
    BOOL result = TRUE;
    EXPECT_NO_THROW(result = app.InitInstance());
    EXPECT_FALSE(result);
}

TEST(StartupReport, AFailingReportStillClosesAWindowThatCouldNotInitialise)
{
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (!parent)
        GTEST_SKIP() << "no window station: start Xvfb and set DISPLAY";
    HWND page = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(page, nullptr);
    {
        CInstallApp app;
        SetCaptionHook([]() -> std::wstring { throw std::runtime_error("no caption"); });
        try {
            throw std::runtime_error("page failed");
        } catch (...) {
            EXPECT_NO_THROW(app.ProcessWndProcException(page, WM_INITDIALOG));
        }
    }
    InstallDefaultMessageHooks();
    EXPECT_FALSE(::IsWindow(page));
    ::DestroyWindow(parent);
}

TEST(InstanceMutexOfTheApplication, IsTakenOnlyWhenNoOtherHolderHasIt)
{
    CInstallApp app;
    const std::wstring name = InstanceMutexName(L"");
    ASSERT_TRUE(app.AcquireInstanceMutex());
    EXPECT_TRUE(app.InstanceMutex.owned());
    app.ReleaseInstanceMutex();
    EXPECT_FALSE(app.InstanceMutex.owned());

    // Held by another thread (ownership is per thread, as between processes).
    HANDLE held = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HANDLE other = ::CreateMutexW(nullptr, FALSE, (L"Global\\" + name).c_str());
        ::WaitForSingleObject(other, INFINITE);
        ::SetEvent(held);
        ::WaitForSingleObject(release, INFINITE);
        ::CloseHandle(other);  // still owned: abandoned when the thread ends
    });
    ::WaitForSingleObject(held, INFINITE);
    EXPECT_FALSE(app.AcquireInstanceMutex());
    EXPECT_FALSE(app.InstanceMutex.owned());
    ::SetEvent(release);
    holder.join();  // ends owning it: abandoned counts as taken
    EXPECT_TRUE(app.AcquireInstanceMutex());
    EXPECT_TRUE(app.InstanceMutex.owned());
    app.ReleaseInstanceMutex();
    ::CloseHandle(held);
    ::CloseHandle(release);
}

}  // namespace
}  // namespace va::test
