#include <gtest/gtest.h>

#include "uninstaller/core/path_rules.h"

namespace va::uninstall {
namespace {

std::string Narrow(std::wstring_view text)
{
    return std::string(text.begin(), text.end());
}

TEST(PathRules, OnlyPlainFullPathsAreEverTouched)
{
    const struct {
        const wchar_t* path;
        bool plain;
    } cases[] = {
        {L"C:\\Program Files\\Vantaro\\Trelvane 7\\Trelvane.exe", true},
        {L"c:/ProgramData/Vantaro", true},
        {L"C:\\", true},
        {L"\\\\server\\share\\Trelvane 7\\a.dll", true},
        {L"", false},
        {L"Trelvane.exe", false},                                  // relative
        {L"C:Trelvane.exe", false},                                // drive-relative
        {L"\\Program Files\\x", false},                            // rooted, no drive
        {L"C:\\Program Files\\Vantaro\\..\\..\\Windows\\x.dll", false},
        {L"C:\\Program Files\\.\\x", false},
        {L"\\\\?\\C:\\Program Files\\x", false},                   // long-path prefix
        {L"\\\\.\\PhysicalDrive0", false},                         // device
        {L"C:\\Program Files\\x.txt:stream", false},               // alternate stream
        {L"C:\\Program Files\\*.dll", false},
        {L"C:\\Program Files\\a?.dll", false},
        {L"C:\\Program Files\\name.", false},                      // the system would drop the dot
        {L"C:\\Program Files\\name \\x", false},
        {L"C:\\Program Files\\a\tb", false},
        {L"\\\\server", false},                                    // a share needs its name
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPlainAbsolutePath(c.path), c.plain) << Narrow(c.path);
}

TEST(PathRules, ComparesAsTheFileSystemDoesWithoutLeavingAFolder)
{
    EXPECT_TRUE(SamePathText(L"C:\\Program Files\\Vantaro", L"c:/program files//VANTARO\\"));
    EXPECT_FALSE(SamePathText(L"C:\\Program Files\\Vantaro", L"C:\\Program Files\\Vantaro 2"));
    EXPECT_TRUE(IsBelow(L"C:\\P\\T\\a.dll", L"C:\\P\\T"));
    EXPECT_TRUE(IsBelow(L"C:\\P\\T\\a.dll", L"C:\\P\\T\\"));
    EXPECT_TRUE(IsBelow(L"C:\\P", L"C:\\"));
    EXPECT_FALSE(IsBelow(L"C:\\P\\T", L"C:\\P\\T"));
    EXPECT_FALSE(IsBelow(L"C:\\P\\Trelvane\\a.dll", L"C:\\P\\T"));  // a prefix of a name is no folder
    EXPECT_FALSE(IsBelow(L"C:\\P\\T\\a.dll", L""));
    EXPECT_TRUE(IsWithin(L"C:\\P\\T", L"c:\\p\\t"));
    EXPECT_FALSE(IsWithin(L"C:\\P", L"C:\\P\\T"));
    EXPECT_TRUE(IsBelow(L"\\\\srv\\share\\T\\a", L"\\\\srv\\share"));
}

TEST(PathRules, DepthAndParent)
{
    EXPECT_EQ(PathDepth(L"C:\\A\\B"), 3u);
    EXPECT_EQ(PathDepth(L"C:\\"), 1u);
    EXPECT_EQ(PathDepth(L"C:\\A\\\\B\\"), 3u);
    EXPECT_EQ(ParentOf(L"C:\\A\\B.exe"), L"C:\\A");
    EXPECT_EQ(ParentOf(L"C:\\A"), L"C:\\");
    EXPECT_EQ(ParentOf(L"C:\\A\\"), L"C:\\");
    EXPECT_EQ(ParentOf(L"C:\\"), L"");
    EXPECT_EQ(ParentOf(L"\\\\srv\\share\\x"), L"\\\\srv\\share");
    EXPECT_EQ(ParentOf(L"\\\\srv\\share"), L"");
    EXPECT_EQ(ParentOf(L"name"), L"");
}

}  // namespace
}  // namespace va::uninstall
