#include "installer/install_app.h"
#include "installer/previous_installation.h"
#include "tests/installer/startup_fixture.h"

namespace va::test {
namespace {

using InstallKindFromRegistry = ProductKeysCleared;

TEST_F(InstallKindFromRegistry, ComparesTheInstalledProgramsFileVersionWithThisBuild)
{
    struct Case {
        std::wstring fixture;
        std::int32_t kind;
        ProductVersion foundVersion;
        std::wstring versionText;  // what GetInstallKind gives
    };
    const Case cases[] = {
        {L"7_8_7_1", Reinstall, 0, L""},
        {L"7_8_7_2", NewerInstalled, 0, L"Trelvane 7.08h"},
        {L"7_9_0_0", NewerInstalled, 0, L"Trelvane 7.09"},
        {L"7_8_7_0", Update, 0x0007000800070000ull, L"Trelvane 7.08f"},
        {L"6_20_0_0", Update, 0x0006001400000000ull, L"Trelvane 6.20"},
        {L"unversioned", Reinstall, 0, L""},
    };
    CInstallApp app;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.fixture.begin(), c.fixture.end()));
        ASSERT_TRUE(SetInstalledProgram(FixtureProgram(c.fixture)));
        const std::wstring path = LookUpInstalledProgramPath();
        ASSERT_EQ(path, FixtureProgram(c.fixture));
        app.DetermineInstallKind(path);
        std::wstring text = L"unchanged";
        EXPECT_EQ(app.GetInstallKind(&text), c.kind);
        EXPECT_EQ(app.FoundVersion, c.foundVersion);
        EXPECT_EQ(text, c.versionText.empty() ? L"unchanged" : c.versionText);
    }
}

TEST_F(InstallKindFromRegistry, DeletedProgramIsFreshEvenWithUninstallKeyAndLog)
{
    ScratchFolder scratch(L"vantaro install kind test");
    const std::wstring program = scratch.File(L"Trelvane 7\\Trelvane.exe");
    scratch.File(L"Trelvane 7\\Uninstall.ulog");
    ASSERT_TRUE(SetInstalledProgram(program));
    ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"UninstallString",
                          (scratch.path() / L"Trelvane 7\\Uninstall.exe").wstring()));
    ::DeleteFileW(program.c_str());

    CInstallApp app;
    app.DetermineInstallKind(LookUpInstalledProgramPath());
    std::wstring text;
    EXPECT_EQ(app.GetInstallKind(&text), Fresh);
    EXPECT_EQ(text, L"");
}

}  // namespace
}  // namespace va::test
