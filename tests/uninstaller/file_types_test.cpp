#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <optional>

#include "support/handles.h"
#include "support/instance_mutex.h"
#include "support/message_pump.h"
#include "tests/common/mutex_holder.h"
#include "tests/common/registry_test_util.h"
#include "tests/common/standins.h"
#include "uninstaller/file_types.h"
#include "uninstaller/step_runner.h"

namespace va::test {
namespace {

constexpr wchar_t kRecordKey[] = L"Software\\Vantaro\\Test\\Trelvane stand-in";

class Unregistration : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteTree(HKEY_CURRENT_USER, kRecordKey);
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"tv unregistration test";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        program_ = folder_ + L"\\Trelvane.exe";
        ASSERT_TRUE(::CopyFileW(StandinPath(L"Trelvane.exe").c_str(), program_.c_str(), FALSE));
        mutex_.Create(InstanceMutexName(L"Trelvane7"), true);
        ASSERT_TRUE(mutex_.owned());
    }
    void TearDown() override
    {
        ::DeleteFileW(program_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
        DeleteTree(HKEY_CURRENT_USER, kRecordKey);
    }

    InstanceMutex mutex_;
    std::wstring folder_;
    std::wstring program_;
};

TEST_F(Unregistration, TheProgramRunsWithTheMutexReleasedAndItIsTakenBack)
{
    const uninstall::Unregistration run = uninstall::RunUnregistration(program_, mutex_);
    ASSERT_TRUE(run.exitCode.has_value()) << run.error;
    EXPECT_EQ(*run.exitCode, uninstall::kRegistrationDone) << "the stand-in refuses while the mutex is held";
    EXPECT_TRUE(run.mutexTakenBack);
    EXPECT_TRUE(mutex_.owned());
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRecordKey, L"WorkingFolder"), folder_);
}

UINT_PTR g_timer = 0;

bool ProgramHasEnded()
{
    const std::optional<DWORD> id = ReadDword(HKEY_CURRENT_USER, kRecordKey, L"ProcessId");
    if (!id || !ReadValue(HKEY_CURRENT_USER, kRecordKey, L"ExitCode"))
        return false;
    UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, *id));
    return !process || ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

// Lets the holder go only from a wait that begins after the program has
// ended: the timer's message is not in the queue when the wait for the
// program sees its end, so only a wait for the mutex itself that handles
// messages can let the holder go.
bool LetTheHolderGo(MSG* message)
{
    if (message->message == WM_TIMER && message->wParam == g_timer && g_timer) {
        ::KillTimer(nullptr, g_timer);
        g_timer = 0;
        MutexHolder::LetGo();
        return true;
    }
    if (message->message != MutexHolder::kHolderHasIt)
        return false;
    if (ProgramHasEnded())
        g_timer = ::SetTimer(nullptr, 0, 20, nullptr);
    else
        ::PostThreadMessageW(::GetCurrentThreadId(), MutexHolder::kHolderHasIt, 0, 0);
    return true;
}

// An installer that took the mutex while the program ran is waited for
// (the window's messages handled meanwhile: here the one that lets it go),
// not worked beside.
TEST_F(Unregistration, AnInstallerHoldingTheMutexIsWaitedFor)
{
    std::optional<MutexHolder> holder(std::in_place, mutex_, LetTheHolderGo);
    const uninstall::Unregistration run = uninstall::RunUnregistration(program_, mutex_);
    holder.reset();

    EXPECT_EQ(run.exitCode, std::optional<DWORD>(3u)) << "the stand-in's busy code";
    EXPECT_TRUE(run.mutexTakenBack) << "the mutex must be waited for, not given up";
    EXPECT_TRUE(mutex_.owned());
    EXPECT_EQ(::WaitForSingleObject(mutex_.handle(), 0), DWORD{WAIT_OBJECT_0}) << "owned by this thread";
    ::ReleaseMutex(mutex_.handle());  // the extra count of that check
}

// Without the mutex, no step after the file types' is taken: each is left
// for a second run, and the run counts as failed.
TEST(StepRunnerWithoutTheMutex, LeavesEveryLaterStep)
{
    const uninstall::ProductAreas areas{};
    uninstall::StepHooks hooks;
    int removals = 0;
    hooks.unregisterFileTypes = [](const std::wstring&) {
        uninstall::Unregistration run;
        run.exitCode = uninstall::kRegistrationDone;
        run.error = ERROR_INVALID_HANDLE;
        return run;
    };
    hooks.removeProductKeys = [&removals] {
        ++removals;
        return DWORD{ERROR_SUCCESS};
    };
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    uninstall::StepRunner runner(areas, L"C:\\nowhere", hooks);
    std::vector<uninstall::UndoStep> plan(3);
    plan[0].kind = uninstall::StepKind::UnregisterFileTypes;
    plan[0].path = self;
    plan[1].path = L"C:\\nowhere\\never.txt";
    plan[2].kind = uninstall::StepKind::RemoveProductKeys;
    const std::vector<uninstall::StepResult> results = runner.Run(plan);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].outcome, uninstall::Outcome::Failed);
    EXPECT_EQ(results[0].reason, uninstall::Reason::MutexLost);
    EXPECT_EQ(results[0].error, DWORD{ERROR_INVALID_HANDLE});
    for (std::size_t n = 1; n < results.size(); ++n) {
        EXPECT_EQ(results[n].outcome, uninstall::Outcome::Kept) << n;
        EXPECT_EQ(results[n].reason, uninstall::Reason::Unfinished) << n;
    }
    EXPECT_EQ(removals, 0);
    EXPECT_EQ(uninstall::ExitCodeOf(uninstall::Summarize(results)), 1603);
}

}  // namespace
}  // namespace va::test
