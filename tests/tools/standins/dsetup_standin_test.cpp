#include <windows.h>

#include <gtest/gtest.h>

#include "support/handles.h"
#include "tests/common/registry_test_util.h"
#include "tests/common/standins.h"

namespace va::test {
namespace {

using Callback = DWORD(WINAPI*)(DWORD, DWORD, char*, char*, void*);
using GetVersionFn = int(WINAPI*)(DWORD*, DWORD*);
using SetCallbackFn = int(WINAPI*)(Callback);
using SetupFn = int(WINAPI*)(HWND, LPWSTR, DWORD);

template <class Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

constexpr wchar_t kRecordKey[] = L"Software\\Vantaro\\Test\\DirectSetup stand-in";

int g_progressCalls = 0;
DWORD WINAPI CountingCallback(DWORD reason, DWORD, char*, char*, void*)
{
    if (reason == 18)
        ++g_progressCalls;
    return 1;
}

TEST(DSetupStandin, VariantsReportTheirRevisionAndResult)
{
    const struct {
        const wchar_t* relative;
        DWORD version;
        DWORD revision;
        int result;
    } cases[] = {
        {L"DSetup.dll", 0x00040009, 904, 0},
        {L"dsetup-old\\DSetup.dll", 0x00040009, 902, 0},
        {L"dsetup-error\\DSetup.dll", 0x00040009, 904, -5},
        {L"dsetup-restart\\DSetup.dll", 0x00040009, 904, 1},
        {L"dsetup-minimum\\DSetup.dll", 0x00040009, 903, 0},
        {L"dsetup-old-version\\DSetup.dll", 0x00040008, 0xFFFFFFFF, 0},
        {L"dsetup-high\\DSetup.dll", 0x80000000, 0x80000000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "variant " << std::string(c.relative, c.relative + wcslen(c.relative)));
        DeleteTree(HKEY_CURRENT_USER, kRecordKey);
        UniqueModule module(::LoadLibraryW(StandinPath(c.relative).c_str()));
        ASSERT_TRUE(module);
        auto getVersion = Export<GetVersionFn>(module.get(), "DirectXSetupGetVersion");
        auto setCallback = Export<SetCallbackFn>(module.get(), "DirectXSetupSetCallback");
        auto setup = Export<SetupFn>(module.get(), "DirectXSetupW");
        ASSERT_TRUE(getVersion && setCallback && setup) << "exports must carry undecorated names";

        DWORD version = 0, revision = 0;
        EXPECT_NE(getVersion(&version, &revision), 0);
        EXPECT_EQ(version, c.version);
        EXPECT_EQ(revision, c.revision);

        g_progressCalls = 0;
        setCallback(CountingCallback);
        wchar_t source[] = L"C:\\source";
        EXPECT_EQ(setup(nullptr, source, 0x10018), c.result);
        EXPECT_GT(g_progressCalls, 0);

        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"Runs"), 1u);
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRecordKey, L"SourcePath"), L"C:\\source");
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"Flags"), 0x10018u);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"ProgressCalls"),
                  static_cast<DWORD>(g_progressCalls));
    }
    DeleteTree(HKEY_CURRENT_USER, kRecordKey);
}

}  // namespace
}  // namespace va::test
