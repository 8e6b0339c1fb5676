// The browser's rules for its proposal, as tables.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "wizard/core/folder_paths.h"

namespace va {
namespace {

const std::wstring kSuffix = L"Trelvane 7";
const std::wstring kTwoLevels = L"Maker\\Trelvane 7";

// A path of exactly `length` characters below C:\.
std::wstring PathOfLength(size_t length)
{
    return L"C:\\" + std::wstring(length - 3, L'a');
}

struct TailCase {
    const wchar_t* path;
    std::wstring tail;
    int expected;
};

TEST(MatchTail, CountsTheMatchingComponentsWithOneLeftBeforeThem)
{
    const TailCase cases[] = {
        {L"C:\\Apps\\Trelvane 7", kSuffix, 1},
        {L"C:\\Apps\\TRELVANE 7\\", kSuffix, 1},  // case and a trailing backslash ignored
        {L"C:\\Trelvane 7", kSuffix, 1},
        {L"C:\\Apps", kSuffix, 0},
        {L"C:\\Apps\\Trelvane 7x", kSuffix, 0},
        {L"C:\\Apps\\Trelvane 7\\Bin", kSuffix, 0},
        {L"Trelvane 7", kSuffix, 0},  // nothing before the match
        {L"C:\\", kSuffix, 0},
        {L"", kSuffix, 0},
        {L"C:\\P\\Maker\\Trelvane 7", kTwoLevels, 2},
        {L"C:\\P\\maker\\trelvane 7\\", kTwoLevels, 2},
        {L"C:\\P\\Other\\Trelvane 7", kTwoLevels, 0},
        {L"C:\\Maker\\Trelvane 7", L"X\\Maker\\Trelvane 7", 0},
        {L"C:\\P\\Maker", L"Maker", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchTail(c.path, c.tail), c.expected) << c.path << L" / " << c.tail;
}

TEST(MatchTail, ATextBeyondThePathBufferMatchesNothing)
{
    EXPECT_EQ(MatchTail(PathOfLength(259) + L"\\" + kSuffix, kSuffix), 0);
    EXPECT_EQ(MatchTail(L"C:\\Apps\\" + kSuffix, std::wstring(300, L'b')), 0);
}

struct NormaliseCase {
    const wchar_t* current;
    std::wstring suffix;
    std::optional<std::wstring> rootBase;
    const wchar_t* expected;
};

TEST(Normalise, AppendsOnlyWhatTheProposalLacks)
{
    const NormaliseCase cases[] = {
        {L"C:\\Apps", kSuffix, {}, L"C:\\Apps\\Trelvane 7"},
        {L"C:\\Apps\\", kSuffix, {}, L"C:\\Apps\\Trelvane 7"},
        {L"C:\\", kSuffix, {}, L"C:\\Trelvane 7"},
        {L"D:\\", kSuffix, {}, L"D:\\Trelvane 7"},
        {L"C:\\Apps\\Trelvane 7", kSuffix, {}, L"C:\\Apps\\Trelvane 7"},
        {L"C:\\Apps\\tRELVANE 7", kSuffix, {}, L"C:\\Apps\\tRELVANE 7"},  // not doubled, case kept
        {L"C:\\Apps\\Trelvane 7\\", kSuffix, {}, L"C:\\Apps\\Trelvane 7\\"},
        {L"C:\\Apps", L"", {}, L"C:\\Apps"},  // a plain browser appends nothing
        // A multi-level suffix: only the missing part.
        {L"C:\\P", kTwoLevels, {}, L"C:\\P\\Maker\\Trelvane 7"},
        {L"C:\\P\\Maker", kTwoLevels, {}, L"C:\\P\\Maker\\Trelvane 7"},
        {L"C:\\P\\MAKER\\", kTwoLevels, {}, L"C:\\P\\MAKER\\Trelvane 7"},
        {L"C:\\P\\Maker\\Trelvane 7", kTwoLevels, {}, L"C:\\P\\Maker\\Trelvane 7"},
        {L"C:\\P\\Makers", kTwoLevels, {}, L"C:\\P\\Makers\\Maker\\Trelvane 7"},
        // Relative to the root base once the suffix is there.
        {L"C:\\SM\\Programs", kSuffix, L"C:\\SM", L"Programs\\Trelvane 7"},
        {L"C:\\SM\\Programs\\Maker\\Trelvane 7", kTwoLevels, L"C:\\SM", L"Programs\\Maker\\Trelvane 7"},
        {L"C:\\SM", kSuffix, L"C:\\SM", L"Trelvane 7"},
        // Another drive cannot be related: the proposal stays absolute.
        {L"D:\\Menu", kSuffix, L"C:\\SM", L"D:\\Menu\\Trelvane 7"},
        // Without a suffix nothing is made relative either.
        {L"C:\\SM\\Programs", L"", L"C:\\SM", L"C:\\SM\\Programs"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Normalise(c.current, c.suffix, c.rootBase), c.expected) << c.current << L" + " << c.suffix;
}

TEST(Normalise, AProposalWithoutRoomForTheSuffixStaysAsItIs)
{
    const std::wstring full = PathOfLength(255);
    EXPECT_EQ(Normalise(full, kSuffix, std::nullopt), full);
    const std::wstring tooLong = PathOfLength(300);
    EXPECT_EQ(Normalise(tooLong, kSuffix, std::nullopt), tooLong);
}

TEST(UsableSuffix, RefusesWildcardsAndInvalidCharactersAndDropsTrailingDots)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Trelvane 7", L"Trelvane 7"},
        {L"Trelvane 7...", L"Trelvane 7"},
        {L"Maker\\Trelvane 7", L"Maker\\Trelvane 7"},
        {L"Trel*vane", L""},
        {L"Trel?vane", L""},
        {L"Trel|vane", L""},
        {L"Trel\"vane", L""},
        {L"Trel<vane>", L""},
        {L"...", L""},
        {L"", L""},
    };
    for (const auto& [suffix, expected] : cases)
        EXPECT_EQ(UsableSuffix(suffix), expected) << suffix;
}

TEST(WithoutSuffix, RemovesTheSuffixComponentsOnly)
{
    const std::tuple<const wchar_t*, std::wstring, const wchar_t*> cases[] = {
        {L"C:\\Apps\\Trelvane 7", kSuffix, L"C:\\Apps"},
        {L"C:\\Apps\\trelvane 7\\", kSuffix, L"C:\\Apps"},
        {L"C:\\Trelvane 7", kSuffix, L"C:\\"},
        {L"C:\\P\\Maker\\Trelvane 7", kTwoLevels, L"C:\\P"},
        {L"C:\\P\\Other\\Trelvane 7", kTwoLevels, L"C:\\P\\Other\\Trelvane 7"},
        {L"C:\\Apps", kSuffix, L"C:\\Apps"},
        {L"C:\\Apps\\Trelvane 7", L"", L"C:\\Apps\\Trelvane 7"},
    };
    for (const auto& [current, suffix, expected] : cases)
        EXPECT_EQ(WithoutSuffix(current, suffix), expected) << current;
}

TEST(RelativeFolder, IsRelativeToTheBaseWithoutLeadingDot)
{
    const std::wstring base = L"C:\\ProgramData\\Start Menu";
    EXPECT_EQ(RelativeFolder(base, base + L"\\Programs\\Maker\\Trelvane 7"), L"Programs\\Maker\\Trelvane 7");
    EXPECT_EQ(RelativeFolder(base, base + L"\\programs"), L"programs");
    EXPECT_EQ(RelativeFolder(base, base), L"");
    EXPECT_EQ(RelativeFolder(base, base + L"\\"), L"");
    EXPECT_EQ(RelativeFolder(base, L"D:\\Menu"), std::nullopt);
    // Outside the base no relative text names the folder once canonical.
    EXPECT_EQ(RelativeFolder(base, L"C:\\ProgramData\\Other"), std::nullopt);
    EXPECT_EQ(RelativeFolder(base, L"C:\\x\\y"), std::nullopt);
}

}  // namespace
}  // namespace va
