#include <windows.h>

#include <gtest/gtest.h>

#include "engine/steps/shortcuts.h"
#include "tests/engine/steps/shortcut_test_util.h"

namespace va::test {
namespace {

class CreateShortcutTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = TempFolder(L"tv create shortcut");
        programs_ = folder_ + L"\\Program Folder";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        ::CreateDirectoryW(programs_.c_str(), nullptr);
        for (const wchar_t* name : {L"\\Trelvane.exe", L"\\archive.tar.gz"})
            Touch(programs_ + name);
    }
    void TearDown() override
    {
        for (const wchar_t* name : {L"\\Trelvane.exe", L"\\archive.tar.gz"})
            ::DeleteFileW((programs_ + name).c_str());
        for (const wchar_t* name : {L"\\Trelvane 7.08g.lnk", L"\\Trelvane.lnk", L"\\archive.tar.lnk"})
            ::DeleteFileW((folder_ + name).c_str());
        ::RemoveDirectoryW(programs_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }

    std::wstring folder_;
    std::wstring programs_;
};

TEST_F(CreateShortcutTest, HoldsTheTargetAndItsFolderUnderTheChosenName)
{
    const std::wstring given = L"Trelvane 7.08g";
    const struct {
        const char* rule;
        const wchar_t* target;
        const std::wstring* name;
        const wchar_t* linkName;
    } cases[] = {
        {"given name", L"\\Trelvane.exe", &given, L"\\Trelvane 7.08g.lnk"},
        {"target's name", L"\\Trelvane.exe", nullptr, L"\\Trelvane.lnk"},
        {"only the last extension goes", L"\\archive.tar.gz", nullptr, L"\\archive.tar.lnk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::wstring target = programs_ + c.target;
        std::wstring linkPath;
        ASSERT_TRUE(CreateShortcut(target, folder_, c.name, &linkPath));
        EXPECT_EQ(linkPath, folder_ + c.linkName);

        const LinkContent content = ReadLink(linkPath);
        ASSERT_TRUE(content.loaded);
        EXPECT_EQ(content.target, target);
        EXPECT_EQ(content.workingFolder, programs_);
        // Nothing but the target and its folder is set.
        EXPECT_EQ(content.arguments, L"");
        EXPECT_EQ(content.description, L"");
        EXPECT_EQ(content.iconLocation, L"");
        EXPECT_EQ(content.hotKey, 0);
        EXPECT_EQ(content.showCommand, SW_SHOWNORMAL);
    }
}

// COM calls that count themselves.
int g_initialized, g_created, g_uninitialized;
HRESULT g_initializeResult;
HRESULT CountingInitialize()
{
    ++g_initialized;
    return g_initializeResult;
}
HRESULT FailingCreate(IShellLinkW** link)
{
    ++g_created;
    *link = nullptr;
    return REGDB_E_CLASSNOTREG;
}
void CountingUninitialize()
{
    ++g_uninitialized;
}
const ShortcutComCalls kCountingCalls{CountingInitialize, FailingCreate, CountingUninitialize};

TEST_F(CreateShortcutTest, FailsBeforeAnyComCallWhenThePathsCannotBeMade)
{
    const std::wstring tooLongFolder = L"C:\\" + std::wstring(255, L'f');
    const struct {
        const char* why;
        std::wstring target;
        std::wstring folder;
    } cases[] = {
        {"target without a folder", L"Trelvane.exe", folder_},
        {"link path beyond MAX_PATH", programs_ + L"\\Trelvane.exe", tooLongFolder},
        {"target beyond MAX_PATH", L"C:\\" + std::wstring(260, L't') + L".exe", folder_},
        {"no folder for the link", programs_ + L"\\Trelvane.exe", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        g_initialized = g_created = g_uninitialized = 0;
        g_initializeResult = S_OK;
        std::wstring linkPath = L"untouched";
        EXPECT_FALSE(CreateShortcut(c.target, c.folder, nullptr, &linkPath, kCountingCalls));
        EXPECT_EQ(linkPath, L"untouched");
        EXPECT_EQ(g_initialized + g_created + g_uninitialized, 0);
    }
}

TEST_F(CreateShortcutTest, BalancesComInitialisationOnEveryPathThatStartedIt)
{
    const struct {
        const char* situation;
        HRESULT initialize;
        int created;
        int uninitialized;
    } cases[] = {
        {"initialised", S_OK, 1, 1},
        {"already initialised", S_FALSE, 1, 1},
        {"initialisation refused", RPC_E_CHANGED_MODE, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        g_initialized = g_created = g_uninitialized = 0;
        g_initializeResult = c.initialize;
        std::wstring linkPath = L"untouched";
        EXPECT_FALSE(CreateShortcut(programs_ + L"\\Trelvane.exe", folder_, nullptr, &linkPath, kCountingCalls));
        EXPECT_EQ(linkPath, L"untouched");
        EXPECT_EQ(g_initialized, 1);
        EXPECT_EQ(g_created, c.created);
        EXPECT_EQ(g_uninitialized, c.uninitialized);
    }
}

}  // namespace
}  // namespace va::test
