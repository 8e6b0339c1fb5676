// The version reader over small DLLs built with crafted version resources.

#include <gtest/gtest.h>

#include <windows.h>

#include "identity/application_id.h"
#include "identity/version_info.h"
#include "languages/languages.h"
#include "languages/version_text.h"
#include "tests/common/process_helpers.h"
#include "tests/driver/driver.h"

namespace {

using va::PackVersion;

std::wstring Fixture(const wchar_t* stem)
{
    return test_support::BesideThisProgram(std::wstring(L"version_") + stem + L".dll");
}

TEST(VersionInfo, ReadsFixedBlockTranslationsAndValues)
{
    struct Case {
        const wchar_t* fixture;
        va::ProductVersion fileVersion;
        std::vector<std::wstring> keys;
        const wchar_t* productName;
        const wchar_t* displayOther;   // interface not French
        const wchar_t* displayFrench;
    };
    const Case cases[] = {
        {L"plain", 0x0007000800070001ull, {L"040904b0"}, L"Trelvane", L"Trelvane 7.08g", L"Trelvane 7.08g"},
        {L"private", 0x0007000A00000000ull, {L"040904b0"}, L"Trelvane", L"Trelvane 7.08g \u2013 Private",
         L"Trelvane 7.08g \u2013 Private"},
        {L"prerelease", PackVersion(7, 9, 65535, 65535), {L"040c04b0"}, L"Trelvane b\u00EAta",
         L"Trelvane b\u00EAta 7.09 beta \u2013 Debug", L"Trelvane b\u00EAta 7.09 b\u00EAta \u2013 Debug"},
        {L"masked", PackVersion(7, 9, 0, 0), {L"040904b0"}, L"Trelvane", L"Trelvane 7.09 beta",
         L"Trelvane 7.09 b\u00EAta"},
        {L"cp1252", PackVersion(7, 8, 7, 1), {}, L"", L" \u2013 Private", L" \u2013 Private"},
        {L"two_utf16", PackVersion(7, 8, 7, 0), {L"040c04b0", L"040704b0"}, L"Premier", L"Premier 7.08g",
         L"Premier 7.08g"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.fixture, c.fixture + wcslen(c.fixture)));
        const va::VersionInfo info(Fixture(c.fixture));
        ASSERT_TRUE(info.HasFixedBlock());
        EXPECT_EQ(info.FileVersion(), c.fileVersion);
        EXPECT_EQ(info.TranslationKeys(), c.keys);
        EXPECT_EQ(info.StringValue(L"ProductName"), c.productName);
        EXPECT_EQ(info.DisplayText(false), c.displayOther);
        EXPECT_EQ(info.DisplayText(true), c.displayFrench);
    }
}

TEST(VersionInfo, OnlyTheFirstUtf16TranslationIsRead)
{
    const va::VersionInfo info(Fixture(L"two_utf16"));
    EXPECT_EQ(info.StringValue(L"ProductVersion"), L"7.08g");
    EXPECT_EQ(info.StringValue(L"Comments"), L"");  // only in the second translation
    EXPECT_EQ(info.StringValue(L"NoSuchValue"), L"");
}

TEST(VersionInfo, FilesWithoutVersionResourceAreEmpty)
{
    for (const std::wstring& path : {Fixture(L"none"), Fixture(L"missing"), std::wstring()}) {
        const va::VersionInfo info(path);
        EXPECT_FALSE(info.HasFixedBlock());
        EXPECT_EQ(info.FileVersion(), 0u);
        EXPECT_TRUE(info.TranslationKeys().empty());
        EXPECT_EQ(info.StringValue(L"ProductName"), L"");
        EXPECT_EQ(info.DisplayText(false), L"");
    }
}

TEST(VersionInfo, DisplayTextFollowsTheInterfaceLanguage)
{
    const va::VersionInfo info(Fixture(L"prerelease"));
    va::SetLanguage(va::kFrench);
    EXPECT_EQ(va::VersionDisplayText(info), L"Trelvane b\u00EAta 7.09 b\u00EAta \u2013 Debug");
    va::SetLanguage(2);
    EXPECT_EQ(va::VersionDisplayText(info), L"Trelvane b\u00EAta 7.09 beta \u2013 Debug");
    va::SetLanguage(va::kFrench);
}

TEST(ApplicationId, FallsBackToTheProgramsFileStem)
{
    // The test program has no version resource of its own.
    EXPECT_FALSE(va::VersionInfo::OfRunningProgram().HasFixedBlock());
    EXPECT_EQ(va::DetermineApplicationId(), L"identity_tests");
    const std::wstring path = va::ProgramPath();
    EXPECT_EQ(path, test_support::BesideThisProgram(L"identity_tests.exe"));
}

TEST(ApplicationId, FromTheOwnVersionResourceWithTwoFallbacks)
{
    struct Case {
        const wchar_t* probe;
        const wchar_t* identity;
        const wchar_t* displayText;
    };
    const Case cases[] = {
        {L"identity_probe_with_id", L"ProbeIdentity", L"Probe 1.0 \u2013 Private"},
        {L"identity_probe_product_only", L"Probe Product", L"Probe Product"},
        {L"identity_probe_plain", L"identity_probe_plain", L""},
    };
    for (const Case& c : cases) {
        const auto child =
            va::test::StartProgram(test_support::BesideThisProgram(std::wstring(c.probe) + L".exe"),
                                   L"\"" + std::wstring(c.identity) + L"\" \"" + c.displayText + L"\"");
        EXPECT_EQ(va::test::WaitForExit(child), 0u) << std::string(c.probe, c.probe + wcslen(c.probe));
    }
}

}  // namespace
