#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <vector>

#include "engine/journal/uninstall_log.h"
#include "engine/steps/registry_entries.h"
#include "engine/steps/shortcuts.h"
#include "tests/common/engine_fakes.h"
#include "tests/engine/steps/shortcut_test_util.h"

namespace va::test {
namespace {

std::wstring CommonDesktop()
{
    wchar_t folder[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_DESKTOPDIRECTORY, FALSE);
    return folder;
}

class ShortcutsStep : public testing::Test {
protected:
    void SetUp() override
    {
        root_ = TempFolder(L"tv shortcuts step");
        ::CreateDirectoryW(root_.c_str(), nullptr);
        const std::wstring install = root_ + L"\\Trelvane 7";
        ::CreateDirectoryW(install.c_str(), nullptr);
        paths_.mainProgram = install + L"\\Trelvane.exe";
        paths_.uninstaller = install + L"\\Uninstall.exe";
        Touch(paths_.mainProgram);
        Touch(paths_.uninstaller);
        // Two levels that do not exist yet: the journal creates and records them.
        choices_.startMenuFolder = root_ + L"\\Start Menu\\Vantaro";
        desktopLink_ = CommonDesktop() + L"\\Trelvane 7.08g.lnk";
    }
    void TearDown() override
    {
        log_.Rollback();
        ::DeleteFileW(desktopLink_.c_str());
        ::DeleteFileW(paths_.mainProgram.c_str());
        ::DeleteFileW(paths_.uninstaller.c_str());
        ::RemoveDirectoryW((root_ + L"\\Trelvane 7").c_str());
        ::RemoveDirectoryW(root_.c_str());
    }
    bool Run() { return CreateShortcuts(log_, choices_, paths_, texts_, progress_, nullptr); }
    std::vector<std::int32_t> EntryTypes() const
    {
        std::vector<std::int32_t> types;
        for (const LogEntry& entry : log_.NewEntries)
            types.push_back(entry.Type);
        return types;
    }
    const LogEntry* Entry(std::int32_t type) const
    {
        for (const LogEntry& entry : log_.NewEntries)
            if (entry.Type == type)
                return &entry;
        return nullptr;
    }

    UninstallLog log_;
    ShortcutChoices choices_;
    ProductPaths paths_;
    FixedTexts texts_;
    RecordingProgress progress_;
    std::wstring root_;
    std::wstring desktopLink_;
};

TEST_F(ShortcutsStep, MakesAllThreeLinksJournalledAndRollsThemBack)
{
    choices_.startMenu = choices_.desktop = true;
    ASSERT_FALSE(CommonDesktop().empty());
    ASSERT_TRUE(Run());

    EXPECT_EQ(progress_.statuses, std::vector<std::wstring>{L"Shortcuts Creation..."});
    EXPECT_EQ(progress_.text(), L"Shortcuts Creation...OK\r\n");
    EXPECT_EQ(EntryTypes(), (std::vector<std::int32_t>{CreatedFolder, CreatedFolder, ProgramShortcut,
                                                       UninstallShortcut, DesktopShortcut}));

    const struct {
        std::int32_t type;
        std::wstring link;
        std::wstring target;
    } links[] = {
        {ProgramShortcut, choices_.startMenuFolder + L"\\Trelvane 7.08g.lnk", paths_.mainProgram},
        {UninstallShortcut, choices_.startMenuFolder + L"\\Uninstall Trelvane.lnk", paths_.uninstaller},
        {DesktopShortcut, desktopLink_, paths_.mainProgram},
    };
    for (const auto& l : links) {
        SCOPED_TRACE(l.type);
        const LogEntry* entry = Entry(l.type);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Path, l.link);
        EXPECT_EQ(entry->Outcome, 1);
        const LinkContent content = ReadLink(l.link);
        ASSERT_TRUE(content.loaded);
        EXPECT_EQ(content.target, l.target);
        EXPECT_EQ(content.workingFolder, root_ + L"\\Trelvane 7");
    }
    EXPECT_FALSE(log_.AwaitingOutcome);

    log_.Rollback();
    for (const auto& l : links)
        EXPECT_FALSE(FileExists(l.link));
    EXPECT_FALSE(FolderExists(root_ + L"\\Start Menu"));
}

TEST_F(ShortcutsStep, NamesTheUninstallLinkFromTheInterfaceLanguage)
{
    choices_.startMenu = true;
    texts_.Set(13, L"Deinstallieren %1");
    ASSERT_TRUE(Run());
    const LogEntry* entry = Entry(UninstallShortcut);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Path, choices_.startMenuFolder + L"\\Deinstallieren Trelvane.lnk");
    EXPECT_TRUE(FileExists(entry->Path));
}

TEST_F(ShortcutsStep, OnlyTheDesktopLinkCreatesNoStartMenuFolder)
{
    choices_.desktop = true;
    ASSERT_TRUE(Run());
    EXPECT_EQ(progress_.text(), L"Shortcuts Creation...OK\r\n");
    EXPECT_EQ(EntryTypes(), std::vector<std::int32_t>{DesktopShortcut});
    EXPECT_FALSE(FolderExists(root_ + L"\\Start Menu"));
    EXPECT_TRUE(FileExists(desktopLink_));
}

TEST_F(ShortcutsStep, NeitherLinkShowsNothingAndJournalsNothing)
{
    ASSERT_TRUE(Run());
    EXPECT_TRUE(progress_.statuses.empty());
    EXPECT_EQ(progress_.text(), L"");
    EXPECT_TRUE(log_.NewEntries.empty());
}

TEST_F(ShortcutsStep, AnUpdateMovesThePreviousLinksAwayAndARollbackBringsThemBack)
{
    choices_.startMenu = choices_.desktop = true;
    ::CreateDirectoryW((root_ + L"\\Start Menu").c_str(), nullptr);
    ::CreateDirectoryW(choices_.startMenuFolder.c_str(), nullptr);
    const std::wstring oldProgram = choices_.startMenuFolder + L"\\Trelvane 7.08f.lnk";
    const std::wstring oldDesktop = CommonDesktop() + L"\\Trelvane 7.08f.lnk";
    ASSERT_EQ(CreateShortcut(paths_.mainProgram, choices_.startMenuFolder, nullptr, nullptr), S_OK);
    ASSERT_TRUE(::MoveFileW((choices_.startMenuFolder + L"\\Trelvane.lnk").c_str(), oldProgram.c_str()));
    ASSERT_TRUE(::CopyFileW(oldProgram.c_str(), oldDesktop.c_str(), FALSE));
    for (const auto& [type, path] : {std::pair{ProgramShortcut, oldProgram}, std::pair{DesktopShortcut, oldDesktop}}) {
        LogEntry previous;
        previous.Type = type;
        previous.Path = path;
        previous.Outcome = 1;
        log_.PreviousEntries.push_back(previous);
    }

    ASSERT_TRUE(Run());
    EXPECT_FALSE(FileExists(oldProgram));
    EXPECT_FALSE(FileExists(oldDesktop));
    EXPECT_TRUE(FileExists(choices_.startMenuFolder + L"\\Trelvane 7.08g.lnk"));
    EXPECT_TRUE(FileExists(desktopLink_));

    log_.Rollback();
    EXPECT_TRUE(FileExists(oldProgram));
    EXPECT_TRUE(FileExists(oldDesktop));
    EXPECT_FALSE(FileExists(choices_.startMenuFolder + L"\\Trelvane 7.08g.lnk"));
    EXPECT_FALSE(FileExists(desktopLink_));

    ::DeleteFileW(oldProgram.c_str());
    ::DeleteFileW(oldDesktop.c_str());
    ::RemoveDirectoryW(choices_.startMenuFolder.c_str());
    ::RemoveDirectoryW((root_ + L"\\Start Menu").c_str());
}

// A machine without a common desktop: only the user's can be found.
std::wstring g_userDesktop;
BOOL WINAPI OnlyTheUsersDesktop(HWND, LPWSTR path, int csidl, BOOL)
{
    if (csidl != CSIDL_DESKTOPDIRECTORY)
        return FALSE;
    ::lstrcpynW(path, g_userDesktop.c_str(), MAX_PATH);
    return TRUE;
}
BOOL WINAPI NoDesktopAtAll(HWND, LPWSTR, int, BOOL)
{
    return FALSE;
}

TEST_F(ShortcutsStep, TheDesktopLinkFallsBackToTheUsersDesktop)
{
    choices_.desktop = true;
    g_userDesktop = root_ + L"\\User Desktop";
    ::CreateDirectoryW(g_userDesktop.c_str(), nullptr);

    ASSERT_TRUE(CreateShortcuts(log_, choices_, paths_, texts_, progress_, nullptr, OnlyTheUsersDesktop));
    const LogEntry* entry = Entry(DesktopShortcut);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Path, g_userDesktop + L"\\Trelvane 7.08g.lnk");
    EXPECT_TRUE(FileExists(entry->Path));
    EXPECT_FALSE(FileExists(desktopLink_));

    log_.Rollback();
    ::RemoveDirectoryW(g_userDesktop.c_str());
}

TEST_F(ShortcutsStep, WithoutAnyDesktopTheLinkFailsAndNothingLandsInTheCurrentFolder)
{
    choices_.desktop = true;
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    ::SetCurrentDirectoryW(root_.c_str());

    EXPECT_FALSE(CreateShortcuts(log_, choices_, paths_, texts_, progress_, nullptr, NoDesktopAtAll));
    ::SetCurrentDirectoryW(current);
    EXPECT_EQ(progress_.text(), L"Shortcuts Creation...Failed\r\n");
    EXPECT_FALSE(FileExists(root_ + L"\\Trelvane 7.08g.lnk"));
    const LogEntry* entry = Entry(DesktopShortcut);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Outcome, 0);
}

TEST_F(ShortcutsStep, AFailedLinkIsCommittedEmptyAndTheOthersAreStillMade)
{
    choices_.startMenu = true;
    paths_.uninstaller = L"Uninstall.exe";  // no folder: that link cannot be made
    EXPECT_FALSE(Run());
    EXPECT_EQ(progress_.text(), L"Shortcuts Creation...Failed\r\n");
    const LogEntry* failed = Entry(UninstallShortcut);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->Path, L"");
    EXPECT_EQ(failed->Outcome, 0);
    const LogEntry* made = Entry(ProgramShortcut);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Outcome, 1);
    EXPECT_TRUE(FileExists(made->Path));
    EXPECT_FALSE(log_.AwaitingOutcome);
}

}  // namespace
}  // namespace va::test
