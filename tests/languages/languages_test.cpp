// The language state against the installer's string tables, linked into
// this program.

#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>
#include <string>
#include <vector>

#include "languages/languages.h"
#include "support/message_hooks.h"
#include "tests/common/box_watcher.h"

namespace {

using namespace va;

constexpr LanguageIndex kDutch = 5;
constexpr LanguageIndex kGerman = 2;

class LanguagesTest : public ::testing::Test {
protected:
    void SetUp() override { SetLanguage(kFrench); }
    void TearDown() override
    {
        SetLanguage(kFrench);
        SetApplicationTitleHook(nullptr);
        SetWizardRelabelHook(nullptr);
        InstallDefaultMessageHooks();
    }
};

TEST_F(LanguagesTest, StateStartsFrench)
{
    const LanguageState& state = CurrentLanguage();
    EXPECT_EQ(state.Mask, 1u);
    EXPECT_EQ(state.Index, kFrench);
    EXPECT_EQ(state.Lcid & 0xFFFF, 1036u);
    EXPECT_EQ(state.ResourceModule, nullptr);
    EXPECT_FALSE(state.RightToLeft);
    // Only the creation sets the thread locale; changing the language does not.
    const LCID threadLocale = LocaleIdentifierFor(kFrench, ::GetUserDefaultLCID());
    EXPECT_EQ(::GetThreadLocale(), threadLocale);
    SetLanguage(kGerman);
    EXPECT_EQ(::GetThreadLocale(), threadLocale);
}

TEST_F(LanguagesTest, InstallerStringForEveryLanguage)
{
    const bool translated[kLanguageCount] = {true, true, true, true, true, false, false, true, false, true,
                                             false, true, false, false, false, false, false, false, false, false};
    const unsigned block[kLanguageCount] = {1000, 2000, 3000, 4000, 5000, 7000, 8000, 9000, 11000, 12000,
                                            10000, 6000, 13000, 14000, 15000, 16000, 17000, 18000, 19000, 20000};
    for (LanguageIndex i = 0; i < kLanguageCount; ++i) {
        SCOPED_TRACE(i);
        SetLanguage(i);
        for (unsigned offset : {0u, 13u, 129u}) {
            const unsigned expected = (translated[i] ? block[i] : 2000) + offset;
            EXPECT_EQ(InstallerString(1000 + offset), expected) << "offset " << offset;
        }
        // Untranslated everywhere but in French: the French text, never 2131.
        EXPECT_EQ(InstallerString(1131), 1131u);
        EXPECT_EQ(InstallerMessage(131), L"Mise \u00E0 jour de DirectX...");
    }
}

TEST_F(LanguagesTest, MessagesInTheCurrentLanguage)
{
    struct Case {
        LanguageIndex language;
        unsigned message;
        const wchar_t* text;
    };
    const Case cases[] = {
        {kFrench, 13, L"D\u00E9sinstaller %1"},
        {kFrench, 18, L"Exemples %1"},
        {kEnglish, 13, L"Uninstall %1"},
        {kEnglish, 14, L"Select Installation Langage"},
        {kGerman, 13, L"Deinstallieren %1"},
        {kDutch, 13, L"Uninstall %1"},
        {18, 0, L"Installer"},
    };
    for (const Case& c : cases) {
        SetLanguage(c.language);
        EXPECT_EQ(InstallerMessage(c.message), c.text) << c.language << "/" << c.message;
    }
}

TEST_F(LanguagesTest, InstallerTitle)
{
    EXPECT_EQ(InstallerTitle(false), L"Installeur");
    EXPECT_EQ(InstallerTitle(true), L"Installeur \u2013 Trelvane 7.08g");
    SetLanguage(kEnglish);
    EXPECT_EQ(InstallerTitle(true), L"Installer \u2013 Trelvane 7.08g");
    SetLanguage(kGerman);
    EXPECT_EQ(InstallerTitle(true), L"Installationsprogramm \u2013 Trelvane 7.08g");
}

TEST_F(LanguagesTest, LanguageFromTheUsersDefault)
{
    struct Case {
        const char* what;
        LANGID user;
        LanguageIndex withProductMask;
        LanguageIndex withDefaultMask;
    };
    const Case cases[] = {
        {"French (Canada)", 0x0C0C, kFrench, kFrench},
        {"Chinese (Taiwan)", 0x0404, kEnglish, kFrench},
        {"Danish", 0x0406, kEnglish, kFrench},
        {"Czech", 0x0405, kEnglish, kFrench},
        {"Dutch", 0x0413, kDutch, kFrench},
        {"German (Austria)", 0x0C07, kGerman, kFrench},
    };
    for (const Case& c : cases) {
        const LANGID user = c.user;
        auto query = [user] { return user; };
        EXPECT_EQ(LanguageFromUserDefault(kProductLanguageMask, query), c.withProductMask) << c.what;
        EXPECT_EQ(LanguageFromUserDefault(0, query), c.withDefaultMask) << c.what;
    }
}

TEST_F(LanguagesTest, SetLanguageTakesLocaleCodePageAndDirection)
{
    struct Case {
        LanguageIndex language;
        LCID lcid;
        unsigned codePage;
        bool rightToLeft;
    };
    const Case cases[] = {
        {kGerman, 1031, 1252, false}, {14, 1032, 1253, false}, {7, 1055, 1254, false},
        {16, 1037, 1255, true},       {18, 1041, 932, false},  {10, 2052, 936, false},
    };
    const LCID user = ::GetUserDefaultLCID();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        CurrentLanguage().ResourceModule = ::GetModuleHandleW(nullptr);
        SetLanguage(c.language);
        const LanguageState& state = CurrentLanguage();
        EXPECT_EQ(state.Index, c.language);
        EXPECT_EQ(state.Lcid, (user & 0xFFFF) == c.lcid ? user : c.lcid);
        EXPECT_EQ(state.CodePage, c.codePage);
        EXPECT_EQ(state.RightToLeft, c.rightToLeft);
        EXPECT_EQ(state.ResourceModule, nullptr);
        // Numbers formatted by the runtime keep the "C" conventions.
        EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    }
}

TEST_F(LanguagesTest, OnlyHebrewReadsRightToLeft)
{
    LOCALESIGNATURE signature;
    if (!::GetLocaleInfoW(1037, LOCALE_FONTSIGNATURE, reinterpret_cast<LPWSTR>(&signature), 16))
        GTEST_SKIP() << "the system's locale data has no font signatures";
    for (LanguageIndex i = 0; i < kLanguageCount; ++i)
        EXPECT_EQ(IsRightToLeft(i), i == kHebrew) << i;
}

TEST_F(LanguagesTest, NativeNamesStartWithACapital)
{
    struct Case {
        LanguageIndex language;
        const wchar_t* name;
    };
    const Case cases[] = {
        {kFrench, L"Fran\u00E7ais"}, {kEnglish, L"English"}, {kGerman, L"Deutsch"}, {3, L"Espa\u00F1ol"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageNativeName(c.language), c.name) << c.language;
    for (LanguageIndex i = 0; i < kLanguageCount; ++i) {
        const std::wstring name = LanguageNativeName(i);
        ASSERT_FALSE(name.empty()) << i;
        wchar_t first = name[0];
        ::CharUpperBuffW(&first, 1);
        EXPECT_EQ(first, name[0]) << i;
    }
}

TEST_F(LanguagesTest, ChangeLanguageToATranslatedLanguage)
{
    std::vector<std::wstring> titles;
    int relabels = 0;
    SetApplicationTitleHook([&](const std::wstring& title) { titles.push_back(title); });
    SetWizardRelabelHook([&] { ++relabels; });
    box_test::BoxWatcher watcher(IDOK);

    ChangeLanguage(kGerman);
    EXPECT_EQ(CurrentLanguage().Index, kGerman);
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"Installationsprogramm \u2013 Trelvane 7.08g"}));
    EXPECT_EQ(relabels, 1);
}

TEST_F(LanguagesTest, ChangeLanguageToAnUntranslatedLanguageExplainsAndUsesEnglish)
{
    if (!box_test::CanCreateWindows())
        GTEST_SKIP() << "Wine has no window driver here (no X display, start Xvfb)";
    std::vector<std::wstring> titles;
    SetApplicationTitleHook([&](const std::wstring& title) { titles.push_back(title); });
    SetOwnerHook([] { return OwnerWindows{}; });
    box_test::BoxWatcher watcher(IDOK);

    ChangeLanguage(kDutch);
    EXPECT_EQ(CurrentLanguage().Index, kEnglish);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text,
              L"'Trelvane' will be installed in the selected Langage, but the Installer, still under "
              L"translation,  shall run in English.");
    EXPECT_EQ(watcher.Seen()[0].icon, ::LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"Installer \u2013 Trelvane 7.08g"}));
}

}  // namespace
