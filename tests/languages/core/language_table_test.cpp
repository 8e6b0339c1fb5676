#include <gtest/gtest.h>

#include <map>

#include "languages/core/language_table.h"

namespace {

using namespace va;

struct Row {
    LanguageIndex index;
    std::uint16_t lcid;
    unsigned frenchOffset;  // added to a French identifier
    bool product;
    bool installer;
};

// Independent of the implementation's table: blocks follow the string
// tables' order, so Italian (11) sits between Portuguese and Dutch.
const Row kExpected[] = {
    {0, 1036, 0, true, true},       {1, 1033, 1000, true, true},    {2, 1031, 2000, true, true},
    {3, 3082, 3000, true, true},    {4, 2070, 4000, true, true},    {5, 1043, 6000, true, false},
    {6, 1030, 7000, false, false},  {7, 1055, 8000, true, true},    {8, 1026, 10000, false, false},
    {9, 1048, 11000, true, true},   {10, 2052, 9000, true, false},  {11, 1040, 5000, true, true},
    {12, 1029, 12000, false, false}, {13, 1044, 13000, false, false}, {14, 1032, 14000, true, false},
    {15, 1045, 15000, true, false}, {16, 1037, 16000, true, false}, {17, 1066, 17000, true, false},
    {18, 1041, 18000, false, false}, {19, 1038, 19000, true, false},
};

TEST(LanguageTable, RowsMatchTheLanguages)
{
    std::uint32_t productMask = 0;
    for (const Row& r : kExpected) {
        SCOPED_TRACE(r.index);
        EXPECT_EQ(LanguageLcid(r.index), r.lcid);
        EXPECT_EQ(StringOffset(r.index), r.frenchOffset);
        EXPECT_EQ(IsProductLanguage(r.index), r.product);
        EXPECT_EQ(IsInstallerTranslated(r.index), r.installer);
        if (r.product)
            productMask |= 1u << r.index;
    }
    EXPECT_EQ(productMask, 0xBCEBFu);
}

TEST(LanguageTable, ValuesOutsideTheTable)
{
    for (LanguageIndex i : {-1, 20, 21, 1000}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(LanguageLcid(i), 1036);
        EXPECT_FALSE(IsProductLanguage(i));
        EXPECT_TRUE(IsInstallerTranslated(i));
        EXPECT_EQ(StringOffset(i), 0u);
    }
}

TEST(LanguageTable, LanguageFromTheUsersLanguageIdentifier)
{
    struct Case {
        const char* what;
        std::uint16_t languageId;
        std::uint32_t mask;
        LanguageIndex expected;
    };
    const Case cases[] = {
        {"French (Canada)", 0x0C0C, kProductLanguageMask, 0},
        {"French (France)", 0x040C, kProductLanguageMask, 0},
        {"English (UK)", 0x0809, kProductLanguageMask, 1},
        {"Chinese (Taiwan), traditional", 0x0404, kProductLanguageMask, 1},
        {"Chinese (Hong Kong), traditional", 0x0C04, kProductLanguageMask, 1},
        {"Chinese (PRC)", 0x0804, kProductLanguageMask, 10},
        {"Chinese (Singapore)", 0x1004, kProductLanguageMask, 10},
        {"Danish: not a product language", 0x0406, kProductLanguageMask, 1},
        {"Czech: not a product language", 0x0405, kProductLanguageMask, 1},
        {"Dutch", 0x0413, kProductLanguageMask, 5},
        {"Dutch (Belgium)", 0x0813, kProductLanguageMask, 5},
        {"Portuguese (Brazil)", 0x0416, kProductLanguageMask, 4},
        {"Spanish (traditional sort)", 0x040A, kProductLanguageMask, 3},
        {"Finnish: no row", 0x040B, kProductLanguageMask, 1},
        {"neutral", 0x0000, kProductLanguageMask, 1},
        {"default mask, Dutch falls back to French", 0x0413, 1, 0},
        {"default mask, English falls back to French", 0x0409, 1, 0},
        {"full mask, Danish", 0x0406, 0xFFFFF, 6},
        {"full mask, Japanese", 0x0411, 0xFFFFF, 18},
        {"only English", 0x0407, 2, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageFromLanguageId(c.languageId, c.mask), c.expected) << c.what;
}

TEST(LanguageTable, LocaleIdentifierKeepsTheUsersOwnOnlyForTheSameLanguageAndRegion)
{
    EXPECT_EQ(LocaleIdentifierFor(0, 0x0C0C), 1036u);        // French (Canada) user
    EXPECT_EQ(LocaleIdentifierFor(0, 0x040C), 0x040Cu);
    EXPECT_EQ(LocaleIdentifierFor(0, 0x1040C), 0x1040Cu);    // own sort order kept
    EXPECT_EQ(LocaleIdentifierFor(2, 0x0409), 1031u);
    EXPECT_EQ(LocaleIdentifierFor(25, 0x0409), 1036u);
    // The locale name, though, follows the user's own locale within a language.
    EXPECT_TRUE(UsesUserLocaleName(0x0C0C, LocaleIdentifierFor(0, 0x0C0C)));
    EXPECT_FALSE(UsesUserLocaleName(0x0409, LocaleIdentifierFor(0, 0x0409)));
}

// A string table: identifiers absent from the map load as empty.
struct FakeStrings {
    std::map<unsigned, std::wstring> texts;
    mutable int loads = 0;
    StringLoader Loader() const
    {
        return [this](unsigned id) {
            ++loads;
            auto found = texts.find(id);
            return found == texts.end() ? std::wstring() : found->second;
        };
    }
};

TEST(LanguageTable, InstallerStringFallsBackToEnglishThenFrench)
{
    FakeStrings strings;
    strings.texts = {
        {1013, L"Désinstaller %1"}, {2013, L"Uninstall %1"},  {3013, L"Deinstallieren %1"},
        {1131, L"Mise à jour"},     {2131, L"#"},             {3131, L"#"},
        {1129, L"fr"},              {2129, L"en"},            {3129, L"#"},
        {1014, L"fr"},              {2014, L"#"},             {3014, L"#"},
        {7013, L"#"},               {6013, L"Disinstalla %1"},
    };
    struct Case {
        const char* what;
        unsigned id;
        LanguageIndex index;
        unsigned expected;
    };
    const Case cases[] = {
        {"German text", 1013, 2, 3013},
        {"Italian block after Portuguese", 1013, 11, 6013},
        {"German #, English text", 1129, 2, 2129},
        {"German #, English # gives French", 1131, 2, 1131},
        {"English # gives French", 1131, 1, 1131},
        {"English # gives French, not the English id", 1014, 1, 1014},
        {"English text", 1013, 1, 2013},
        {"Dutch untranslated: English", 1013, 5, 2013},
        {"Dutch untranslated, English #: French", 1131, 5, 1131},
        {"missing German string is not #", 1100, 2, 3100},
        {"outside the table: the id itself", 1013, 30, 1013},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveInstallerString(c.id, c.index, strings.Loader()), c.expected) << c.what;
}

TEST(LanguageTable, InstallerStringInFrenchLoadsNothing)
{
    FakeStrings strings;
    strings.texts = {{1131, L"#"}};
    EXPECT_EQ(ResolveInstallerString(1131, 0, strings.Loader()), 1131u);
    EXPECT_EQ(strings.loads, 0);
}

}  // namespace
