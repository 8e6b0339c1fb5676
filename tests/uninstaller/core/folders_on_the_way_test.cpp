// Which folders a removal must reach without passing a link.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uninstaller/core/folders_on_the_way.h"

namespace va::uninstall {
namespace {

using Folders = std::vector<std::wstring>;

TEST(FoldersOnTheWay, EveryFolderBelowTheDeepestSystemFolderHoldingTheItem)
{
    const Folders system = {L"C:\\ProgramData", L"C:\\Program Files", L"C:\\Users\\Public\\Documents",
                            L"C:\\Users\\Public"};
    struct Case {
        const char* what;
        std::wstring path;
        Folders expected;
    };
    const Case cases[] = {
        {"a shared folder's file", L"C:\\ProgramData\\Vantaro\\Trelvane 7\\Data\\a.dat",
         {L"C:\\ProgramData\\Vantaro", L"C:\\ProgramData\\Vantaro\\Trelvane 7",
          L"C:\\ProgramData\\Vantaro\\Trelvane 7\\Data"}},
        {"the deepest system folder is the anchor", L"C:\\Users\\Public\\Documents\\Trelvane\\s.tvp",
         {L"C:\\Users\\Public\\Documents\\Trelvane"}},
        {"letter case does not hide the anchor", L"c:\\programdata\\Vantaro\\x", {L"c:\\programdata\\Vantaro"}},
        {"a file right in a system folder passes none", L"C:\\Program Files\\x.exe", {}},
        {"a folder of its own: from below the drive's root", L"C:\\Apps\\Trelvane\\Trelvane.exe",
         {L"C:\\Apps", L"C:\\Apps\\Trelvane"}},
        {"a share: from below the share's root", L"\\\\server\\share\\Apps\\Trelvane\\a.dll",
         {L"\\\\server\\share\\Apps", L"\\\\server\\share\\Apps\\Trelvane"}},
        {"a system folder's own name is no anchor for itself", L"C:\\ProgramData", {}},
        {"a folder whose name starts like a system folder's", L"C:\\ProgramDataX\\a\\b",
         {L"C:\\ProgramDataX", L"C:\\ProgramDataX\\a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FoldersOnTheWay(c.path, system), c.expected);
    }
}

TEST(FoldersOnTheWay, WithoutSystemFoldersEverythingBelowTheRootIsPassed)
{
    EXPECT_EQ(FoldersOnTheWay(L"D:\\A\\B\\C\\f", {}), (Folders{L"D:\\A", L"D:\\A\\B", L"D:\\A\\B\\C"}));
    EXPECT_EQ(FoldersOnTheWay(L"D:\\f", {L""}), Folders{});
}

}  // namespace
}  // namespace va::uninstall
