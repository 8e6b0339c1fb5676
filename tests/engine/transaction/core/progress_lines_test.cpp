// The progress text cut into the lines of a text log.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/transaction/core/progress_lines.h"

namespace {

using Lines = std::vector<std::wstring>;

TEST(ProgressLines, AStepsPiecesMakeOneLineOnceItEnds)
{
    va::ProgressLines lines;
    EXPECT_EQ(lines.Append(L"Preparing Installation..."), Lines{});
    EXPECT_EQ(lines.Pending(), L"Preparing Installation...");
    EXPECT_EQ(lines.Append(L"OK\r\n"), Lines{L"Preparing Installation...OK"});
    EXPECT_EQ(lines.Pending(), L"");
    EXPECT_EQ(lines.Append(L"a\r\nb\r\n\r\nc"), (Lines{L"a", L"b", L""}));
    EXPECT_EQ(lines.Append(L"\r"), Lines{});
    EXPECT_EQ(lines.Append(L"\nd"), Lines{L"c"});
    EXPECT_EQ(lines.TakePending(), L"d");
    EXPECT_EQ(lines.Pending(), L"");
}

TEST(ProgressLines, ABannerInALogIsAsWideAsTheLog)
{
    const std::wstring dashes = va::LogBannerLine(L"");
    EXPECT_EQ(dashes, std::wstring(va::kLogBannerWidth, L'-') + L"\r\n");
    const std::wstring titled = va::LogBannerLine(L"Installation Options");
    EXPECT_EQ(titled.size(), static_cast<std::size_t>(va::kLogBannerWidth) + 2);
    EXPECT_NE(titled.find(L" Installation Options "), std::wstring::npos);
    EXPECT_EQ(titled.front(), L'-');
}

}  // namespace
