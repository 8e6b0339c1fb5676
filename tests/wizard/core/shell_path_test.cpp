// The shell's path rules without the shell: the shared tables, and what
// only the portable version promises (the path buffer's limit).

#include <gtest/gtest.h>

#include <string>

#include "tests/wizard/core/shell_path_cases.h"
#include "support/core/path_compare.h"
#include "wizard/core/shell_path.h"

namespace va {
namespace {

TEST(ShellPath, ComponentsAsTheShellCutsThem)
{
    for (const auto& c : test::kComponentCases) {
        const std::wstring path = c.path;
        EXPECT_EQ(path.substr(LastComponentStart(path)), c.lastComponent) << c.path;
        std::wstring shorter = path;
        EXPECT_EQ(RemoveLastComponent(shorter), c.removed) << c.path;
        EXPECT_EQ(shorter, c.withoutLast) << c.path;
        std::wstring trimmed = path;
        RemoveTrailingBackslash(trimmed);
        EXPECT_EQ(trimmed, c.withoutBackslash) << c.path;
    }
}

TEST(ShellPath, CanonicalFoldsDotsAndNeverClimbsAboveTheRoot)
{
    for (const auto& c : test::kCanonicalCases)
        EXPECT_EQ(Canonical(c.path), std::wstring(c.canonical)) << c.path;
}

TEST(ShellPath, CombineJoinsOrTakesTheAbsoluteText)
{
    for (const auto& c : test::kCombineCases)
        EXPECT_EQ(CombinePath(c.folder, c.file), std::wstring(c.combined)) << c.folder << L" + " << c.file;
}

TEST(ShellPath, RelativeBetweenFoldersAsTheShellWritesIt)
{
    for (const auto& c : test::kRelativeCases) {
        const auto relative = RelativePathBetweenFolders(c.from, c.to);
        if (c.relative) {
            EXPECT_EQ(relative, std::wstring(c.relative)) << c.from << L" -> " << c.to;
        } else {
            EXPECT_EQ(relative, std::nullopt) << c.from << L" -> " << c.to;
        }
    }
}

TEST(ShellPath, CommonPrefixIgnoresCaseAndStopsAtWholeComponents)
{
    for (const auto& c : test::kPrefixCases)
        EXPECT_EQ(CommonPrefixLength(c.a, c.b), static_cast<std::size_t>(c.length)) << c.a << L" / " << c.b;
}

TEST(ShellPath, TextsBeyondThePathBufferAreRefused)
{
    const std::wstring longest = L"C:\\" + std::wstring(256, L'a');  // 259 characters
    EXPECT_EQ(Canonical(longest), longest);
    EXPECT_EQ(Canonical(longest + L"a"), std::nullopt);
    EXPECT_EQ(CombinePath(longest, L"b"), std::nullopt);
    EXPECT_EQ(AppendPath(L"C:\\" + std::wstring(254, L'a'), L"b"), L"C:\\" + std::wstring(254, L'a') + L"\\b");
    EXPECT_EQ(RelativePathBetweenFolders(longest + L"a", L"C:\\"), std::nullopt);
}

TEST(ShellPath, CharactersAndNamesAsTheFileSystemSeesThem)
{
    for (wchar_t c : std::wstring(L"*?<>|\"/\x01\x1f"))
        EXPECT_FALSE(IsPathCharacter(c)) << static_cast<int>(c);
    for (wchar_t c : std::wstring(L"aZ09 .-_\\:$&()@^'`~\x00e9\x0416"))
        EXPECT_TRUE(IsPathCharacter(c)) << static_cast<int>(c);

    EXPECT_TRUE(SameNameIgnoringCase(L"Trelvane 7", L"TRELVANE 7"));
    EXPECT_TRUE(SameNameIgnoringCase(L"\x00c9t\x00e9", L"\x00e9T\x00c9"));   // Latin-1
    EXPECT_TRUE(SameNameIgnoringCase(L"\x041f\x0440\x043e", L"\x043f\x0420\x041e"));  // Cyrillic
    EXPECT_FALSE(SameNameIgnoringCase(L"Trelvane 7", L"Trelvane 7x"));
    EXPECT_FALSE(SameNameIgnoringCase(L"\x00d7", L"\x00f7"));  // signs, not letters

    EXPECT_TRUE(IsRelativePath(L""));
    EXPECT_TRUE(IsRelativePath(L"Apps\\x"));
    EXPECT_FALSE(IsRelativePath(L"C:Apps"));
    EXPECT_FALSE(IsRelativePath(L"\\Apps"));
}

}  // namespace
}  // namespace va
