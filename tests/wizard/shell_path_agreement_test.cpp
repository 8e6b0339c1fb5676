// The portable path rules follow the shell's: the shared tables held
// against the shell's own functions.

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "support/core/path_compare.h"
#include "tests/wizard/core/shell_path_cases.h"
#include "wizard/core/shell_path.h"

namespace va {
namespace {

TEST(ShellPathAgreement, Components)
{
    for (const auto& c : test::kComponentCases) {
        wchar_t buffer[MAX_PATH];
        EXPECT_STREQ(::PathFindFileNameW(c.path), c.lastComponent) << c.path;
        lstrcpynW(buffer, c.path, MAX_PATH);
        EXPECT_EQ(::PathRemoveFileSpecW(buffer) != FALSE, c.removed) << c.path;
        EXPECT_STREQ(buffer, c.withoutLast) << c.path;
        lstrcpynW(buffer, c.path, MAX_PATH);
        ::PathRemoveBackslashW(buffer);
        EXPECT_STREQ(buffer, c.withoutBackslash) << c.path;
    }
}

TEST(ShellPathAgreement, Canonical)
{
    for (const auto& c : test::kCanonicalCases) {
        wchar_t buffer[MAX_PATH] = {};
        ASSERT_TRUE(::PathCanonicalizeW(buffer, c.path)) << c.path;
        EXPECT_STREQ(buffer, c.canonical) << c.path;
    }
}

TEST(ShellPathAgreement, Combine)
{
    for (const auto& c : test::kCombineCases) {
        wchar_t buffer[MAX_PATH] = {};
        ASSERT_TRUE(::PathCombineW(buffer, c.folder, c.file)) << c.folder << L" + " << c.file;
        EXPECT_STREQ(buffer, c.combined) << c.folder << L" + " << c.file;
    }
}

TEST(ShellPathAgreement, RelativeBetweenFolders)
{
    for (const auto& c : test::kRelativeCases) {
        wchar_t buffer[MAX_PATH] = {};
        const bool ok = ::PathRelativePathToW(buffer, c.from, FILE_ATTRIBUTE_DIRECTORY, c.to,
                                              FILE_ATTRIBUTE_DIRECTORY) != FALSE;
        EXPECT_EQ(ok, c.relative != nullptr) << c.from << L" -> " << c.to;
        if (ok && c.relative) {
            EXPECT_STREQ(buffer, c.relative) << c.from << L" -> " << c.to;
        }
    }
}

TEST(ShellPathAgreement, CommonPrefix)
{
    for (const auto& c : test::kPrefixCases)
        EXPECT_EQ(::PathCommonPrefixW(c.a, c.b, nullptr), c.length) << c.a << L" / " << c.b;
}

TEST(ShellPathAgreement, PathCharacters)
{
    for (wchar_t c = 1; c < 0x800; ++c) {
        const UINT type = ::PathGetCharTypeW(c);
        const bool shell = type != GCT_INVALID && (type & GCT_WILD) == 0;
        EXPECT_EQ(IsPathCharacter(c), shell) << static_cast<int>(c);
    }
}

TEST(ShellPathAgreement, NamesIgnoringCase)
{
    // Every capital of the scripts the portable rule folds (Latin to
    // Extended-A, Greek, Cyrillic), against the system's lower case.
    for (wchar_t c = 0x41; c < 0x430; ++c) {
        if ((c >= 0x180 && c < 0x391) || (c > 0x3AB && c < 0x400))
            continue;
        const std::wstring upper(1, c);
        wchar_t lower[2] = {c, 0};
        ::CharLowerW(lower);
        if (lower[0] == c)
            continue;
        EXPECT_TRUE(SameNameIgnoringCase(upper, lower)) << static_cast<int>(c);
        EXPECT_EQ(::lstrcmpiW(upper.c_str(), lower), 0) << static_cast<int>(c);
    }
}

}  // namespace
}  // namespace va
