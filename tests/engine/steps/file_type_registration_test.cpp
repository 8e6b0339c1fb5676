#include <windows.h>

#include <gtest/gtest.h>

#include <locale>
#include <string>
#include <optional>

#include "identity/core/product_version.h"
#include "engine/journal/uninstall_log.h"
#include "engine/steps/file_type_registration.h"
#include "support/message_pump.h"
#include "support/handles.h"
#include "support/instance_mutex.h"
#include "tests/common/mutex_holder.h"
#include "tests/common/registry_test_util.h"
#include "tests/common/standins.h"

namespace va::test {
namespace {

constexpr wchar_t kRecordKey[] = L"Software\\Vantaro\\Test\\Trelvane stand-in";

struct CommandLineCase {
    const char* situation;
    const wchar_t* program;
    ProductVersion foundVersion;
    const wchar_t* expected;
};

TEST(RegistrationCommandLine, CarriesTheUpdateSwitchOnlyForAnUpdate)
{
    const CommandLineCase cases[] = {
        {"fresh", L"C:\\Vantaro\\Trelvane.exe", 0, L"C:\\Vantaro\\Trelvane.exe /Register /Background"},
        {"fresh, spaces", L"C:\\Program Files (x86)\\Vantaro\\Trelvane 7\\Trelvane.exe", 0,
         L"\"C:\\Program Files (x86)\\Vantaro\\Trelvane 7\\Trelvane.exe\" /Register /Background"},
        // A reinstallation finds its own version but passes none.
        {"reinstall", L"C:\\Vantaro\\Trelvane.exe", 0, L"C:\\Vantaro\\Trelvane.exe /Register /Background"},
        {"update", L"C:\\Vantaro\\Trelvane.exe", PackVersion(7, 8, 7, 0),
         L"C:\\Vantaro\\Trelvane.exe /Register /Background /update=0007000800070000"},
        {"update, spaces, lower-case digits", L"C:\\Program Files\\Trelvane.exe", PackVersion(7, 10, 0, 0xABCD),
         L"\"C:\\Program Files\\Trelvane.exe\" /Register /Background /update=0007000a0000abcd"},
        {"update from the highest version", L"C:\\T.exe", ~ProductVersion{0},
         L"C:\\T.exe /Register /Background /update=ffffffffffffffff"},
    };
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(RegistrationCommandLine(c.program, c.foundVersion), c.expected);
    }
}

// Digits grouped in threes, as many user locales write numbers.
class GroupingPunctuation : public std::numpunct<wchar_t> {
protected:
    wchar_t do_thousands_sep() const override { return L'.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(RegistrationCommandLine, TheUpdateSwitchIgnoresTheProcessLocale)
{
    // Start-up makes the user's locale the global one; the switch is read
    // by a program, not a person, and must keep its sixteen plain digits.
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new GroupingPunctuation));
    const std::wstring line = RegistrationCommandLine(L"C:\\T.exe", PackVersion(7, 8, 7, 0));
    std::locale::global(previous);
    EXPECT_EQ(line, L"C:\\T.exe /Register /Background /update=0007000800070000");
}

TEST(RegistrationCommandLine, RefusesAProgramPathThatDoesNotFitWhole)
{
    const std::wstring spaced = L"C:\\a b\\" + std::wstring(251, L'x');  // 258: no room for quotes
    ASSERT_EQ(spaced.size(), 258u);
    EXPECT_EQ(RegistrationCommandLine(spaced, 0), L"");
    const std::wstring plain = L"C:\\" + std::wstring(257, L'x');  // 260: cut short otherwise
    EXPECT_EQ(RegistrationCommandLine(plain, 0), L"");
    const std::wstring longest = L"C:\\a b\\" + std::wstring(249, L'x');  // 256 + 2 quotes
    EXPECT_EQ(RegistrationCommandLine(longest, 0), L"\"" + longest + L"\" /Register /Background");
}

class FileTypeRegistration : public testing::Test {
protected:
    void SetUp() override
    {
        Clean();
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"tv registration test";
        ::CreateDirectoryW(root_.c_str(), nullptr);
        mutex_.Create(InstanceMutexName(L"Trelvane7"), true);
        ASSERT_TRUE(mutex_.owned());
    }
    void TearDown() override
    {
        for (const std::wstring& file : copies_) {
            ::DeleteFileW(file.c_str());
            ::RemoveDirectoryW(file.substr(0, file.find_last_of(L'\\')).c_str());
        }
        ::RemoveDirectoryW(root_.c_str());
        Clean();
    }
    static void Clean()
    {
        for (const wchar_t* key : {L".tv-proj", L".tv-cab", L".tv-lib", L"Trelvane.Project.7",
                                   L"Trelvane.Cabinet.7", L"Trelvane.Library.7"})
            DeleteTree(HKEY_CLASSES_ROOT, key);
        DeleteTree(HKEY_CURRENT_USER, kRecordKey);
    }
    // The product stand-in copied into a folder of the given name.
    std::wstring InstalledProgram(const std::wstring& folderName)
    {
        const std::wstring folder = root_ + L"\\" + folderName;
        ::CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring program = folder + L"\\Trelvane.exe";
        EXPECT_TRUE(::CopyFileW(StandinPath(L"Trelvane.exe").c_str(), program.c_str(), FALSE));
        copies_.push_back(program);
        return program;
    }

    UninstallLog log;
    InstanceMutex mutex_;
    std::wstring root_;
    std::vector<std::wstring> copies_;
};

TEST_F(FileTypeRegistration, RunsTheProgramInItsFolderWithTheMutexReleased)
{
    const struct {
        const char* situation;
        const wchar_t* folder;
        ProductVersion foundVersion;
    } cases[] = {
        {"fresh", L"NoSpaces", 0},
        {"update, spaces", L"With Spaces", PackVersion(7, 8, 7, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        const std::wstring program = InstalledProgram(c.folder);
        DeleteTree(HKEY_CURRENT_USER, kRecordKey);
        DeleteTree(HKEY_CLASSES_ROOT, L".tv-proj");
        log.NewEntries.clear();

        // The stand-in refuses to register while another holds the mutex.
        EXPECT_TRUE(RegisterFileTypes(log, program, c.foundVersion, mutex_));
        EXPECT_TRUE(mutex_.owned()) << "the mutex must be taken back";

        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRecordKey, L"CommandLine"),
                  RegistrationCommandLine(program, c.foundVersion));
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRecordKey, L"WorkingFolder"), root_ + L"\\" + c.folder);
        // Shown without taking the focus from the wizard.
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"StartupFlags"),
                  static_cast<DWORD>(STARTF_USESHOWWINDOW));
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"ShowCommand"),
                  static_cast<DWORD>(SW_SHOWNOACTIVATE));
        EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".tv-proj", nullptr), L"Trelvane.Project.7");
        ASSERT_EQ(log.NewEntries.size(), 1u);
        EXPECT_EQ(log.NewEntries.back().Type, FileTypes);
        EXPECT_EQ(log.NewEntries.back().Outcome, 1);
        EXPECT_FALSE(log.AwaitingOutcome);
    }
}

// Whether a program started with HIGH_PRIORITY_CLASS sees that class
// (Wine starts every process at normal priority).
bool ChildrenKeepTheirPriorityClass(const std::wstring& program)
{
    DeleteTree(HKEY_CURRENT_USER, kRecordKey);
    std::wstring line = L"\"" + program + L"\" /Register /Background";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, HIGH_PRIORITY_CLASS, nullptr,
                          nullptr, &startup, &process))
        return false;
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    return ReadDword(HKEY_CURRENT_USER, kRecordKey, L"PriorityClass") == HIGH_PRIORITY_CLASS;
}

TEST_F(FileTypeRegistration, TheProgramRunsAtHighPriority)
{
    const std::wstring program = InstalledProgram(L"Priority");
    if (!ChildrenKeepTheirPriorityClass(program))
        GTEST_SKIP() << "a started process does not report the priority class it was given (Wine)";
    DeleteTree(HKEY_CURRENT_USER, kRecordKey);

    ASSERT_TRUE(RegisterFileTypes(log, program, 0, mutex_));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"PriorityClass"),
              static_cast<DWORD>(HIGH_PRIORITY_CLASS));
}

// Lets the holder go once the program has recorded its exit code; until
// then the message comes round again with the next pump.
bool LetTheHolderGo(MSG* message)
{
    if (message->message != MutexHolder::kHolderHasIt)
        return false;
    if (ReadValue(HKEY_CURRENT_USER, kRecordKey, L"ExitCode"))
        MutexHolder::LetGo();
    else
        ::PostThreadMessageW(::GetCurrentThreadId(), MutexHolder::kHolderHasIt, 0, 0);
    return true;
}

// Another thread holds the mutex, so releasing ours does not free it and
// the program exits with its "busy" code: a failure.  The installer then
// waits for the holder (handling messages: here the one that lets it go)
// and owns the mutex again.
TEST_F(FileTypeRegistration, AnExitCodeOtherThanMinusTenIsAFailureAndABusyMutexIsWaitedFor)
{
    const std::wstring program = InstalledProgram(L"Busy");
    std::optional<MutexHolder> holder(std::in_place, mutex_, LetTheHolderGo);
    EXPECT_FALSE(RegisterFileTypes(log, program, 0, mutex_));
    holder.reset();
    EXPECT_TRUE(mutex_.owned()) << "the mutex must be waited for, not given up";
    EXPECT_EQ(::WaitForSingleObject(mutex_.handle(), 0), DWORD{WAIT_OBJECT_0}) << "owned by this thread";
    ::ReleaseMutex(mutex_.handle());  // the extra count of that check

    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"ExitCode"), 3u);
    ASSERT_EQ(log.NewEntries.size(), 1u);
    EXPECT_EQ(log.NewEntries.back().Type, FileTypes);
    EXPECT_EQ(log.NewEntries.back().Outcome, 0);
    EXPECT_FALSE(log.AwaitingOutcome);
}

TEST_F(FileTypeRegistration, AProgramThatCannotStartFailsAndTheMutexIsTakenBack)
{
    EXPECT_FALSE(RegisterFileTypes(log, root_ + L"\\Missing\\Trelvane.exe", 0, mutex_));
    EXPECT_TRUE(mutex_.owned());
    ASSERT_EQ(log.NewEntries.size(), 1u);
    EXPECT_EQ(log.NewEntries.back().Outcome, 0);
    EXPECT_FALSE(log.AwaitingOutcome);
}

}  // namespace
}  // namespace va::test
