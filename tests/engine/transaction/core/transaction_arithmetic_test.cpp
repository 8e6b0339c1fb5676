// The portable arithmetic of the install transaction: the banner lines of
// the progress text, the progress bar's position and the error-code texts.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <future>
#include <ios>
#include <string>
#include <system_error>

#include "engine/package/core/compress_error.h"
#include "engine/transaction/core/banner_line.h"
#include "engine/transaction/core/error_code_text.h"
#include "engine/transaction/core/progress_percent.h"

namespace va {
namespace {

struct BannerCase {
    const wchar_t* text;
    int available;
    int wordsWidth;
    int dashWidth;
    const wchar_t* expected;
};

TEST(BannerLine, CentresTheWordsInAsManyDashesAsTheWidthTakes)
{
    const BannerCase cases[] = {
        // Dashes alone: available / dash.
        {L"", 100, 0, 5, L"--------------------\r\n"},
        {L"", 104, 0, 5, L"--------------------\r\n"},  // the rest of the division stays empty
        {L"", 105, 0, 5, L"---------------------\r\n"},
        // With words: n = (available - words) / dash; n / 2 before, the rest after.
        {L"Options", 100, 40, 6, L"----- Options -----\r\n"},
        {L"Options", 100, 40, 5, L"------ Options ------\r\n"},
        {L"Options", 106, 40, 6, L"----- Options ------\r\n"},  // n = 11: the odd dash goes after
        {L"Options", 46, 40, 6, L" Options -\r\n"},             // n = 1
        // No room left: no dash, never a negative count.
        {L"Options", 40, 40, 6, L" Options \r\n"},
        {L"Options", 30, 40, 6, L" Options \r\n"},
        {L"", 4, 0, 5, L"\r\n"},
        {L"", -2, 0, 5, L"\r\n"},
        // A font that measures nothing draws no dash.
        {L"", 100, 0, 0, L"\r\n"},
    };
    for (const BannerCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "available " << c.available << ", words " << c.wordsWidth << ", dash "
                                        << c.dashWidth);
        EXPECT_EQ(BannerLine(c.text, c.available, c.wordsWidth, c.dashWidth), c.expected);
    }
}

TEST(BannerLine, WordsAreSetOffBySpacesOnlyWhenThereAreAny)
{
    EXPECT_EQ(BannerWords(L"Installation Options"), L" Installation Options ");
    EXPECT_EQ(BannerWords(L""), L"");
}

struct PercentCase {
    std::uint64_t done;
    std::uint64_t total;
    int expected;
};

TEST(ProgressPercent, RoundsHalfUpAndReachesFullOnlyAtTheEnd)
{
    const PercentCase cases[] = {
        {0, 1000, 0},
        {4, 1000, 0},      // 0.4 %
        {5, 1000, 1},      // 0.5 % rounds up
        {994, 1000, 99},   // 99.4 %
        {995, 1000, 99},   // 99.5 % would round to 100 while bytes are missing
        {999, 1000, 99},
        {1000, 1000, 100},
        {1, 3, 33},
        {2, 3, 67},
        {3, 3, 100},
        // Large packages keep their precision.
        {(1ull << 40) - 1, 1ull << 40, 99},
        {1ull << 39, 1ull << 40, 50},
        // Unknown total; more bytes than announced.
        {0, 0, 0},
        {10, 0, 0},
        {1200, 1000, 100},
    };
    for (const PercentCase& c : cases)
        EXPECT_EQ(ProgressPercent(c.done, c.total), c.expected) << c.done << " of " << c.total;
}

struct CodeCase {
    std::error_code code;
    const wchar_t* expected;
};

TEST(ErrorCodeText, TheCategoryTellsTheForm)
{
    const CodeCase cases[] = {
        {{5, std::system_category()}, L"1:00000005"},
        {{0x20, std::system_category()}, L"1:00000020"},
        {{static_cast<int>(0x80070005), std::system_category()}, L"1:80070005"},
        {{ENOENT, std::generic_category()}, L"2:00000002"},
        {{-1, std::generic_category()}, L"2:FFFFFFFF"},
        {make_error_code(compress_errc::invalid_checksum), L"3"},
        {make_error_code(compress_errc::verify_failed), L"4"},
        {make_error_code(compress_errc::interrupted), L"5"},
        {make_error_code(compress_errc::bzip2_error), L"6"},
        {make_error_code(compress_errc::unexpected), L"7"},
        // Any other category: a stream failure, a future's error.
        {make_error_code(std::io_errc::stream), L"7"},
        {make_error_code(std::future_errc::broken_promise), L"7"},
    };
    for (const CodeCase& c : cases)
        EXPECT_EQ(ErrorCodeText(c.code), c.expected) << c.code.category().name() << " " << c.code.value();
    EXPECT_STREQ(kPathValueErrorText, L"-1");
}

}  // namespace
}  // namespace va
