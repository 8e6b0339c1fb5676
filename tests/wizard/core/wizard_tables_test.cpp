// The language list's flags, the page area and the About entry.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "languages/core/language_table.h"
#include "wizard/core/about_entry.h"
#include "wizard/core/language_list.h"
#include "wizard/core/page_area.h"

namespace va {
namespace {

TEST(LanguageList, OffersTheProductLanguagesEachWithItsOwnFlag)
{
    std::set<int> icons;
    for (LanguageIndex language : kOfferedLanguages) {
        SCOPED_TRACE(language);
        EXPECT_TRUE(IsProductLanguage(language));
        icons.insert(FlagIconOf(language));
    }
    EXPECT_EQ(icons.size(), kOfferedLanguages.size());
    for (LanguageIndex notOffered : {6, 8, 12, 13, 18})
        EXPECT_EQ(std::count(kOfferedLanguages.begin(), kOfferedLanguages.end(), notOffered), 0) << notOffered;
}

TEST(LanguageList, FlagIconsByIndexSkip159AndFallBackToTheFrenchFlag)
{
    const int expected[20] = {144, 145, 141, 143, 148, 147, 142, 149, 150, 151,
                              152, 146, 153, 154, 155, 156, 157, 158, 160, 161};
    for (LanguageIndex i = 0; i < 20; ++i)
        EXPECT_EQ(FlagIconOf(i), expected[i]) << i;
    for (LanguageIndex outside : {-1, 20, 1000})
        EXPECT_EQ(FlagIconOf(outside), 144) << outside;
}

TEST(PageArea, EveryPageFillsTheLargestAndTheHostGrowsByWhatTheAreaLacks)
{
    const Box area{96, 0, 410, 182};  // 314 x 182
    struct Case {
        std::vector<Size> pages;
        Box expected;
        int dx, dy;
    };
    const Case cases[] = {
        {{}, area, 0, 0},
        {{{200, 100}, {314, 182}}, area, 0, 0},
        {{{418, 133}, {300, 170}}, {96, 0, 514, 182}, 104, 0},
        {{{200, 250}}, {96, 0, 410, 250}, 0, 68},
        {{{420, 100}, {100, 200}}, {96, 0, 516, 200}, 106, 18},
        {{{0, 0}, {-5, 400}}, area, 0, 0},  // empty rectangles add nothing
    };
    for (const Case& c : cases) {
        const PageArea fit = FitPages(area, c.pages);
        EXPECT_EQ(fit.pages, c.expected);
        EXPECT_EQ(fit.dx, c.dx);
        EXPECT_EQ(fit.dy, c.dy);
    }
}

TEST(AboutEntry, HasAnAcceleratorAndTrailingDotsOnlyLeftToRight)
{
    EXPECT_EQ(AboutMenuEntry(L"About 'Installer'", false), L"&About 'Installer'...");
    EXPECT_EQ(AboutMenuEntry(L"About 'Installer'", true), L"...About 'Installer'");
}

}  // namespace
}  // namespace va
