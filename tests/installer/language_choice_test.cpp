#include "installer/install_app.h"
#include "languages/languages.h"
#include "framework/win_app.h"
#include "support/exception_text.h"
#include "support/format_message.h"
#include "support/message_box.h"
#include "support/message_hooks.h"
#include "tests/installer/startup_fixture.h"

namespace va::test {
namespace {

using LanguageChoice = ProductKeysCleared;

constexpr LANGID kUserEnglish = 0x0409;
constexpr LANGID kUserFrench = 0x040C;
constexpr LANGID kUserGerman = 0x0407;
constexpr LANGID kUserDutch = 0x0413;
constexpr LANGID kUserCzech = 0x0405;
constexpr DWORD kNoValue = 0xFFFFFFFF;

TEST_F(LanguageChoice, UserDefaultThenPersistedLanguageThenEnglishWithoutInstallerTexts)
{
    struct Case {
        const char* what;
        LANGID userDefault;
        DWORD persisted;  // "VaLanguage", kNoValue for none
        LanguageIndex expected;
    };
    const Case cases[] = {
        {"English user", kUserEnglish, kNoValue, kEnglish},
        {"French user", kUserFrench, kNoValue, kFrench},
        {"Dutch user: product language without installer texts", kUserDutch, kNoValue, kEnglish},
        {"Czech user: not a product language", kUserCzech, kNoValue, kEnglish},
        {"persisted German wins over the user's English", kUserEnglish, 2, 2},
        {"persisted Danish (6) is ignored", kUserFrench, 6, kFrench},
        {"persisted value beyond the table is ignored", kUserGerman, 40, 2},
        {"persisted Dutch falls back to English", kUserFrench, 5, kEnglish},
    };
    CInstallApp app;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveProductKeys();
        if (c.persisted != kNoValue) {
            ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", c.persisted));
        }
        app.ChooseInterfaceLanguage([&] { return c.userDefault; });
        EXPECT_EQ(CurrentLanguage().Index, c.expected);
    }
}

TEST_F(LanguageChoice, TitleFollowsTheLanguageAndBecomesTheApplicationName)
{
    CInstallApp app;
    app.ChooseInterfaceLanguage([] { return kUserEnglish; });
    EXPECT_EQ(app.ApplicationTitle, L"Installer \u2013 Trelvane 7.08g");
    EXPECT_STREQ(CurrentAppName(), L"Installer \u2013 Trelvane 7.08g");

    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", kFrench));
    app.ChooseInterfaceLanguage([] { return kUserEnglish; });
    EXPECT_EQ(app.ApplicationTitle, L"Installeur \u2013 Trelvane 7.08g");
    EXPECT_STREQ(CurrentAppName(), L"Installeur \u2013 Trelvane 7.08g");
}

TEST_F(LanguageChoice, ALaterLanguageChangeRenamesTheApplication)
{
    CInstallApp app;
    app.ChooseInterfaceLanguage([] { return kUserEnglish; });
    ChangeLanguage(2);
    EXPECT_EQ(app.ApplicationTitle, L"Installationsprogramm \u2013 Trelvane 7.08g");
    EXPECT_STREQ(CurrentAppName(), L"Installationsprogramm \u2013 Trelvane 7.08g");
}

}  // namespace
}  // namespace va::test
