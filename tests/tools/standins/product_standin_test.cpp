#include <windows.h>

#include <gtest/gtest.h>

#include "identity/core/product_version.h"
#include "identity/version_info.h"
#include "support/instance_counter.h"
#include "support/instance_mutex.h"
#include "tests/common/registry_test_util.h"
#include "tests/common/standins.h"

namespace va::test {
namespace {

constexpr DWORD kRegistered = static_cast<DWORD>(-10);
constexpr wchar_t kRecordKey[] = L"Software\\Vantaro\\Test\\Trelvane stand-in";

struct VariantCase {
    const wchar_t* relative;
    ProductVersion version;
    const wchar_t* versionText;
};

TEST(ProductStandin, EachVariantCarriesTheProductsIdentity)
{
    const VariantCase cases[] = {
        {L"Trelvane.exe", PackVersion(7, 8, 7, 1), L"7.08g"},
        {L"trelvane-7.8.7.0\\Trelvane.exe", PackVersion(7, 8, 7, 0), L"7.08f"},
        {L"trelvane-7.8.7.2\\Trelvane.exe", PackVersion(7, 8, 7, 2), L"7.08h"},
    };
    for (const VariantCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "variant " << std::string(c.relative, c.relative + wcslen(c.relative)));
        const VersionInfo info(StandinPath(c.relative));
        ASSERT_TRUE(info.HasFixedBlock());
        EXPECT_EQ(info.FileVersion(), c.version);
        EXPECT_EQ(info.StringValue(L"ProductName"), L"Trelvane");
        EXPECT_EQ(info.StringValue(L"ProductVersion"), c.versionText);
        EXPECT_EQ(info.StringValue(L"ApplicationId"), L"Trelvane7");
    }
}

TEST(UninstallerStandin, IdentifiesItselfAsTheProductsUninstaller)
{
    const VersionInfo info(StandinPath(L"Uninstall.exe"));
    ASSERT_TRUE(info.HasFixedBlock());
    EXPECT_EQ(info.StringValue(L"ProductName"), L"Trelvane");
    EXPECT_EQ(info.StringValue(L"OriginalFilename"), L"Uninstall.exe");
}

class ProductRegistration : public testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        for (const wchar_t* key : {L".tv-proj", L".tv-cab", L".tv-lib", L"Trelvane.Project.7",
                                   L"Trelvane.Cabinet.7", L"Trelvane.Library.7"})
            DeleteTree(HKEY_CLASSES_ROOT, key);
        DeleteTree(HKEY_CURRENT_USER, kRecordKey);
    }
    static std::wstring Program() { return StandinPath(L"Trelvane.exe"); }
};

TEST_F(ProductRegistration, RegistersTheThreeFileTypesAndExitsWithMinusTen)
{
    const std::wstring line = Quoted(Program()) + L" /Register /Background";
    ASSERT_EQ(RunToEnd(line), kRegistered);

    const struct {
        const wchar_t* extension;
        const wchar_t* progId;
    } types[] = {{L".tv-proj", L"Trelvane.Project.7"},
                 {L".tv-cab", L"Trelvane.Cabinet.7"},
                 {L".tv-lib", L"Trelvane.Library.7"}};
    for (const auto& t : types) {
        EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, t.extension, nullptr), t.progId);
        EXPECT_FALSE(ReadText(HKEY_CLASSES_ROOT, t.progId, nullptr).empty());
        EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, std::wstring(t.progId) + L"\\DefaultIcon", nullptr),
                  Quoted(Program()) + L",0");
        EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, std::wstring(t.progId) + L"\\shell\\open\\command", nullptr),
                  Quoted(Program()) + L" \"%1\"");
    }
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRecordKey, L"CommandLine"), line);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"ExitCode"), kRegistered);
}

TEST_F(ProductRegistration, AcceptsTheUpdateSwitchAndRefusesMalformedSwitches)
{
    const struct {
        const wchar_t* switches;
        DWORD exitCode;
    } cases[] = {
        {L" /Register /Background /update=0007000800070000", kRegistered},
        {L" /Register /Background /update=7000800070000", 2},    // too short
        {L" /Register /Background /update=000700080007000g", 2}, // not hexadecimal
        {L" /Register /Quiet", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "switches " << std::string(c.switches, c.switches + wcslen(c.switches)));
        EXPECT_EQ(RunToEnd(Quoted(Program()) + c.switches), c.exitCode);
    }
}

TEST_F(ProductRegistration, UnregisterTakesBackExactlyWhatRegisterWrote)
{
    const std::wstring program = Quoted(Program());
    ASSERT_EQ(RunToEnd(program + L" /Register /Background"), kRegistered);
    // What others did meanwhile: a value beside ours, a verb of their own
    // under our ProgID, and one extension taken over by another program.
    WriteText(HKEY_CLASSES_ROOT, L".tv-proj", L"Content Type", L"application/x-tv-proj");
    WriteText(HKEY_CLASSES_ROOT, L"Trelvane.Library.7\\shell\\print\\command", nullptr, L"print.exe \"%1\"");
    WriteText(HKEY_CLASSES_ROOT, L".tv-cab", nullptr, L"Other.Cabinet");

    ASSERT_EQ(RunToEnd(program + L" /Unregister /Background"), kRegistered);

    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".tv-proj", L"Content Type"), L"application/x-tv-proj");
    EXPECT_FALSE(ReadValue(HKEY_CLASSES_ROOT, L".tv-proj", nullptr)) << "our default value goes";
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".tv-cab", nullptr), L"Other.Cabinet");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".tv-lib"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Trelvane.Project.7"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Trelvane.Cabinet.7"));
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L"Trelvane.Library.7\\shell\\print\\command", nullptr),
              L"print.exe \"%1\"");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Trelvane.Library.7\\shell\\open"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Trelvane.Library.7\\DefaultIcon"));
    EXPECT_FALSE(ReadValue(HKEY_CLASSES_ROOT, L"Trelvane.Library.7", nullptr));

    // Nothing of ours left: a second run succeeds and changes nothing.
    EXPECT_EQ(RunToEnd(program + L" /Unregister /Background"), kRegistered);
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".tv-cab", nullptr), L"Other.Cabinet");
    EXPECT_EQ(RunToEnd(program + L" /Register /Unregister /Background"), 2u);
}

TEST_F(ProductRegistration, UnregisterLeavesTheTypesOfTheSameProductInstalledElsewhere)
{
    // Registered by a copy in another folder: its commands name that copy.
    ASSERT_EQ(RunToEnd(Quoted(StandinPath(L"trelvane-7.8.7.0\\Trelvane.exe")) + L" /Register /Background"),
              kRegistered);
    ASSERT_EQ(RunToEnd(Quoted(Program()) + L" /Unregister /Background"), kRegistered);
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L"Trelvane.Project.7\\shell\\open\\command", nullptr),
              Quoted(StandinPath(L"trelvane-7.8.7.0\\Trelvane.exe")) + L" \"%1\"");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".tv-proj", nullptr), L"Trelvane.Project.7");
}

TEST_F(ProductRegistration, RefusesWhileAnotherProcessHoldsTheInstanceMutex)
{
    InstanceMutex mutex;
    mutex.Create(InstanceMutexName(L"Trelvane7"), true);
    ASSERT_TRUE(mutex.owned());
    EXPECT_EQ(RunToEnd(Quoted(Program()) + L" /Register /Background"), 3u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".tv-proj"));

    mutex.Release();
    EXPECT_EQ(RunToEnd(Quoted(Program()) + L" /Register /Background"), kRegistered);
    EXPECT_TRUE(mutex.Acquire()) << "the stand-in must let go of the mutex when it ends";
}

TEST(ProductStandin, APlainStartShowsAWindowAndCountsAsALiveInstance)
{
    InstanceCounter counter;
    counter.Register(L"Trelvane7");
    ASSERT_EQ(counter.Count(), 1);

    std::wstring line = Quoted(StandinPath(L"Trelvane.exe"));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process));
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    ASSERT_EQ(::WaitForInputIdle(process.hProcess, INFINITE), 0u);

    HWND window = nullptr;
    while (!window && ::WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT)
        window = ::FindWindowW(L"TrelvaneStandInWindow", nullptr);
    ASSERT_NE(window, nullptr);
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Trelvane 7.08g");
    EXPECT_EQ(counter.Count(), 2);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(process.hProcess, INFINITE), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(counter.Count(), 1);
}

}  // namespace
}  // namespace va::test
