#include <windows.h>

#include <gtest/gtest.h>

#include "engine/journal/uninstall_log.h"
#include "engine/steps/registry_step.h"
#include "support/instance_mutex.h"
#include "tests/common/engine_fakes.h"
#include "tests/common/registry_denial.h"
#include "tests/common/registry_test_util.h"
#include "tests/common/standins.h"

namespace va::test {
namespace {

const std::wstring kProductKeyPath = std::wstring(kUninstallRoot) + L"\\Trelvane 7";

class RegistryStep : public testing::Test {
protected:
    void SetUp() override
    {
        Clean();
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"tv registry step";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        facts_.paths.mainProgram = folder_ + L"\\Trelvane.exe";
        facts_.paths.uninstaller = folder_ + L"\\Uninstall.exe";
        ASSERT_TRUE(::CopyFileW(StandinPath(L"Trelvane.exe").c_str(), facts_.paths.mainProgram.c_str(), FALSE));
        mutex_.Create(InstanceMutexName(L"Trelvane7"), true);
    }
    void TearDown() override
    {
        log_.Rollback();
        ::DeleteFileW(facts_.paths.mainProgram.c_str());
        ::RemoveDirectoryW(folder_.c_str());
        Clean();
    }
    static void Clean()
    {
        DeleteTree(HKEY_LOCAL_MACHINE, kProductKeyPath);
        DeleteTree(HKEY_LOCAL_MACHINE, L"Software\\Vantaro");
        for (const wchar_t* key : {L".tv-proj", L".tv-cab", L".tv-lib", L"Trelvane.Project.7",
                                   L"Trelvane.Cabinet.7", L"Trelvane.Library.7"})
            DeleteTree(HKEY_CLASSES_ROOT, key);
        DeleteTree(HKEY_CURRENT_USER, L"Software\\Vantaro\\Test\\Trelvane stand-in");
    }
    std::vector<std::int32_t> EntryTypes() const
    {
        std::vector<std::int32_t> types;
        for (const LogEntry& entry : log_.NewEntries)
            types.push_back(entry.Type);
        return types;
    }

    UninstallLog log_;
    InstanceMutex mutex_;
    RegistryStepFacts facts_;
    RecordingProgress progress_;
    FixedTexts texts_;
    std::wstring folder_;
};

TEST_F(RegistryStep, WritesEverythingOnOneLine)
{
    EXPECT_EQ(RunRegistryStep(log_, facts_, mutex_, texts_, progress_), RegistryStepResult::Completed);
    EXPECT_EQ(progress_.statuses, std::vector<std::wstring>{L"Registry Data Writing..."});
    EXPECT_EQ(progress_.text(), L"Registry Data Writing...OK\r\n");
    EXPECT_EQ(EntryTypes(), (std::vector<std::int32_t>{UninstallKey, FileTypes}));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, L"Software\\Vantaro", L"Trelvane 7 Path"), facts_.paths.mainProgram);
}

TEST_F(RegistryStep, AFailedRegistrationEndsTheLineWithFailedAndGoesOn)
{
    ::DeleteFileW(facts_.paths.mainProgram.c_str());
    EXPECT_EQ(RunRegistryStep(log_, facts_, mutex_, texts_, progress_), RegistryStepResult::Completed);
    EXPECT_EQ(progress_.text(), L"Registry Data Writing...Failed\r\n");
    EXPECT_TRUE(mutex_.owned());
}

TEST_F(RegistryStep, AFailedPathValueLeavesTheLineOpenAndTheRollbackRemovesTheNewKey)
{
    WriteText(HKEY_LOCAL_MACHINE, L"Software\\Vantaro", L"Other", L"kept");
    ScopedKeyDenial denial(HKEY_LOCAL_MACHINE, L"Software\\Vantaro", KEY_SET_VALUE);
    ASSERT_TRUE(denial.applied());

    EXPECT_EQ(RunRegistryStep(log_, facts_, mutex_, texts_, progress_), RegistryStepResult::PathValueFailed);
    EXPECT_EQ(progress_.text(), L"Registry Data Writing...");
    EXPECT_EQ(EntryTypes(), std::vector<std::int32_t>{UninstallKey}) << "the program must not have run";
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".tv-proj"));

    log_.Rollback();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKeyPath));
}

}  // namespace
}  // namespace va::test
