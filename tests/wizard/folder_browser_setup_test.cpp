// What the browser opens with, and its root, without showing it.

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "support/task_memory.h"
#include "wizard/folder_browser.h"

namespace va {
namespace {

const std::wstring kSuffix = L"Trelvane 7";

std::wstring Documents()
{
    UniqueTaskString path;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DONT_VERIFY, nullptr, path.put())))
        return {};
    return path.get();
}

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    return ::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? path : L"";
}

UniqueIdList ProgramsRoot()
{
    UniqueIdList root;
    ::SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_PROGRAMS, root.put());
    return root;
}

TEST(FolderBrowserSetup, OpensOnTheInitialFolderWithTheSuffix)
{
    const std::wstring documents = Documents();
    ASSERT_FALSE(documents.empty());
    const std::tuple<const wchar_t*, std::wstring, std::wstring, std::wstring> cases[] = {
        // initial, suffix: proposal, suffix kept
        {L"C:\\Apps", kSuffix, L"C:\\Apps\\Trelvane 7", kSuffix},
        {L"C:\\Apps\\trelvane 7", kSuffix, L"C:\\Apps\\trelvane 7", kSuffix},
        {L"D:", kSuffix, L"D:\\Trelvane 7", kSuffix},
        {L"C:\\Apps", L"Trelvane 7..", L"C:\\Apps\\Trelvane 7", kSuffix},
        // A suffix no folder can carry makes a plain browser.
        {L"C:\\Apps", L"Trel*vane", L"C:\\Apps", L""},
        {L"C:\\Apps", L"Trel?vane", L"C:\\Apps", L""},
        // A relative or missing initial folder: the user's documents.
        {L"Apps\\Relative", kSuffix, documents + L"\\Trelvane 7", kSuffix},
        {L"", kSuffix, documents + L"\\Trelvane 7", kSuffix},
        {L"", L"", documents, L""},
    };
    for (const auto& [initial, suffix, proposal, kept] : cases) {
        FolderBrowser browser(L"title");
        browser.Setup(initial, suffix);
        EXPECT_EQ(browser.Current(), proposal) << initial << L" + " << suffix;
        EXPECT_EQ(browser.Suffix(), kept) << initial << L" + " << suffix;
        EXPECT_EQ(browser.RootBase(), std::nullopt);
        EXPECT_EQ(browser.Relative(), browser.Current()) << "no root: nothing is relative";
    }
}

TEST(FolderBrowserSetup, UnderTheProgramsRootTheProposalIsRelativeToTheStartMenu)
{
    const std::wstring programs = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    const std::wstring startMenu = SpecialFolder(CSIDL_COMMON_STARTMENU);
    ASSERT_FALSE(programs.empty());
    const std::wstring programsName = ::PathFindFileNameW(programs.c_str());

    FolderBrowser browser(L"title");
    browser.SetRoot(ProgramsRoot());
    EXPECT_EQ(browser.RootBase(), startMenu);

    browser.Setup(L"", kSuffix);
    EXPECT_EQ(browser.Current(), programsName + L"\\Trelvane 7") << "no initial folder: the root's";

    browser.Setup(programs + L"\\Maker", kSuffix);
    EXPECT_EQ(browser.Current(), programsName + L"\\Maker\\Trelvane 7");

    browser.Setup(programs + L"\\Maker\\Trelvane 7", L"Maker\\Trelvane 7");
    EXPECT_EQ(browser.Current(), programsName + L"\\Maker\\Trelvane 7") << "the suffix is not doubled";

    browser.Setup(L"Maker", kSuffix);
    EXPECT_EQ(browser.Current(), programsName + L"\\Trelvane 7") << "a relative initial folder is ignored";
}

}  // namespace
}  // namespace va
