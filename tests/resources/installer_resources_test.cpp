// The manifest and version resource of the built installer, read back from the .exe.

#include <gtest/gtest.h>

#include <string>

#include "identity/version_info.h"
#include "support/handles.h"
#include "tests/common/process_helpers.h"

namespace {

std::wstring InstallerPath()
{
    return test_support::BesideThisProgram(L"..\\bin\\InstallTrelvane7.08g.exe");
}

}  // namespace

TEST(InstallerResources, ManifestDeclaresWhatTheInstallerNeeds)
{
    va::UniqueModule image(::LoadLibraryExW(InstallerPath().c_str(), nullptr,
                                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(image) << "cannot open the installer";
    HRSRC found = ::FindResourceW(image.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(image.get(), found)));
    const std::string manifest(data, ::SizeofResource(image.get(), found));

    const char* required[] = {
        R"(name="Microsoft.Windows.Common-Controls")",
        R"(version="6.0.0.0")",
        R"(processorArchitecture="*")",
        R"(publicKeyToken="6595b64144ccf1df")",
        R"(language="*")",
        R"(level="requireAdministrator")",
        R"(uiAccess="false")",
        R"(>true</dpiAware>)",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10
    };
    for (const char* text : required)
        EXPECT_NE(manifest.find(text), std::string::npos) << text;
}

TEST(InstallerResources, VersionResourceCarriesTheIdentity)
{
    const va::VersionInfo info(InstallerPath());
    ASSERT_TRUE(info.HasFixedBlock());
    EXPECT_EQ(info.FileVersion(), va::PackVersion(2, 4, 1, 1));
    EXPECT_EQ(va::PackVersion(info.FixedBlock()->dwProductVersionMS, info.FixedBlock()->dwProductVersionLS),
              va::PackVersion(2, 4, 1, 1));
    ASSERT_EQ(info.TranslationKeys(), std::vector<std::wstring>{L"040004b0"});

    const std::pair<const wchar_t*, const wchar_t*> values[] = {
        {L"ProductName", L"Install"},
        {L"ProductVersion", L"2.04a"},
        {L"FileVersion", L"2.4.1.1"},
        {L"FileDescription", L"Installeur Trelvane 7.08g"},
        {L"InternalName", L"Install"},
        {L"OriginalFilename", L"InstallTrelvane7.08g.exe"},
        {L"ApplicationId", L"Trelvane7"},
    };
    for (const auto& [name, value] : values)
        EXPECT_EQ(info.StringValue(name), value) << name;
    EXPECT_FALSE(info.StringValue(L"CompanyName").empty());
    EXPECT_FALSE(info.StringValue(L"LegalCopyright").empty());
    EXPECT_TRUE(info.StringValue(L"NoSuchValue").empty());
}
