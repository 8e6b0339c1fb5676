#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "engine/journal/uninstall_log.h"
#include "engine/package/held_files.h"
#include "engine/package/output_file.h"
#include "engine/steps/directx_setup.h"
#include "tests/common/engine_fakes.h"
#include "tests/common/registry_test_util.h"
#include "tests/common/standins.h"

namespace va::test {
namespace {

constexpr wchar_t kRecordKey[] = L"Software\\Vantaro\\Test\\DirectSetup stand-in";
const std::wstring kStatus = L"Mise \u00e0 jour de DirectX...";

DWORD Runs()
{
    const auto value = ReadValue(HKEY_CURRENT_USER, kRecordKey, L"Runs");
    return value ? value->Dword() : 0;
}

class DirectXStep : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"tv directx test";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        DeleteTree(HKEY_CURRENT_USER, kRecordKey);
    }
    void TearDown() override
    {
        ::DeleteFileW(Library().c_str());
        ::RemoveDirectoryW(folder_.c_str());
        DeleteTree(HKEY_CURRENT_USER, kRecordKey);
    }
    std::wstring Library() const { return folder_ + L"\\DSetup.dll"; }
    // `variant`: a subfolder of the stand-ins, or "" for the current library.
    void PlaceLibrary(const std::wstring& variant)
    {
        const std::wstring source = StandinPath(variant.empty() ? L"DSetup.dll" : variant + L"\\DSetup.dll");
        ASSERT_TRUE(::CopyFileW(source.c_str(), Library().c_str(), FALSE));
    }
    void PreviousRun(std::uint8_t outcome)
    {
        LogEntry entry;
        entry.Type = DirectXRuntime;
        entry.Path = kStatus;
        entry.Outcome = outcome;
        log_.PreviousEntries.push_back(entry);
    }

    std::wstring folder_;
    UninstallLog log_;
    FixedTexts texts_;
    RecordingProgress progress_;
};

TEST_F(DirectXStep, KeepsOnlyALibraryOfTheMinimumVersion)
{
    const struct {
        const char* variant;
        const wchar_t* folder;
        bool kept;
    } cases[] = {
        {"current", L"", true},
        {"the minimum revision", L"dsetup-minimum", true},
        {"older revision", L"dsetup-old", false},
        {"older version, whatever its revision", L"dsetup-old-version", false},
        {"values with the top bit set, compared unsigned", L"dsetup-high", true},
        {"missing", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variant);
        ::DeleteFileW(Library().c_str());
        if (c.folder)
            PlaceLibrary(c.folder);
        for (const std::wstring& folder : {folder_, folder_ + L"\\"}) {
            const DirectXSetup setup = LoadDirectXSetup(folder);
            EXPECT_EQ(setup.folder, folder);
            EXPECT_EQ(static_cast<bool>(setup.module), c.kept);
        }
    }
}

// The placement holds the checked library; loading it takes over that hold
// and lets it go once the library is loaded.
TEST_F(DirectXStep, LoadsAHeldLibraryAndReleasesItsHold)
{
    PlaceLibrary(L"");
    ASSERT_EQ(HoldVerifiedFile(Library(), file_crc32(Library())), DWORD{ERROR_SUCCESS});
    {
        UniqueFile writer(::CreateFileW(Library().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(writer) << "nobody may change the library while it is held";
    }
    {
        const DirectXSetup setup = LoadDirectXSetup(folder_);
        EXPECT_TRUE(setup.module);
    }
    EXPECT_FALSE(TakeHeldFile(Library())) << "the hold ended with the load";
}

TEST_F(DirectXStep, WithoutAFolderNoLibraryIsSearchedFor)
{
    PlaceLibrary(L"");
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    ::SetCurrentDirectoryW(folder_.c_str());
    const DirectXSetup setup = LoadDirectXSetup(L"");
    ::SetCurrentDirectoryW(current);
    EXPECT_FALSE(setup.module) << "a library from the current folder must not be taken";
}

TEST_F(DirectXStep, RunsOrSkipsByTheKindOfInstallationAndThePreviousLog)
{
    const struct {
        const char* situation;
        const wchar_t* variant;  // nullptr: no library
        bool reinstall;
        int previousOutcome;  // -1: no previous entry
        bool runs;
        bool succeeds;
    } cases[] = {
        {"fresh", L"", false, -1, true, true},
        {"reinstall over a successful run", L"", true, 1, true, true},
        {"update over a successful run", L"", false, 1, false, true},
        {"update over a failed run", L"", false, 0, true, true},
        {"older library", L"dsetup-old", true, -1, false, true},
        {"no library", nullptr, true, -1, false, true},
        {"restart needed", L"dsetup-restart", false, -1, true, true},
        {"set-up error", L"dsetup-error", false, -1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        ::DeleteFileW(Library().c_str());
        DeleteTree(HKEY_CURRENT_USER, kRecordKey);
        log_.PreviousEntries.clear();
        log_.NewEntries.clear();
        progress_ = RecordingProgress();
        if (c.variant)
            PlaceLibrary(c.variant);
        if (c.previousOutcome >= 0)
            PreviousRun(static_cast<std::uint8_t>(c.previousOutcome));

        EXPECT_EQ(RunDirectXStep(log_, folder_, c.reinstall, texts_, progress_, nullptr), c.succeeds);

        if (!c.runs) {
            EXPECT_EQ(Runs(), 0u);
            EXPECT_TRUE(progress_.statuses.empty());
            EXPECT_EQ(progress_.text(), L"");
            EXPECT_TRUE(log_.NewEntries.empty());
            continue;
        }
        EXPECT_EQ(Runs(), 1u);
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRecordKey, L"SourcePath"), folder_);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"Flags"), 0x10018u);
        EXPECT_EQ(progress_.statuses, std::vector<std::wstring>{kStatus});
        EXPECT_EQ(progress_.text(), kStatus + (c.succeeds ? L"OK\r\n" : L"Failed\r\n"));
        ASSERT_EQ(log_.NewEntries.size(), 1u);
        const LogEntry& entry = log_.NewEntries.back();
        EXPECT_EQ(entry.Type, DirectXRuntime);
        EXPECT_EQ(entry.Path, kStatus);
        EXPECT_EQ(entry.Outcome, c.succeeds ? 1 : 0);
        EXPECT_FALSE(log_.AwaitingOutcome);
    }
}

TEST_F(DirectXStep, TheCallbackKeepsTheInterfaceAliveDuringTheRun)
{
    PlaceLibrary(L"");
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 7, 0, 0);

    ASSERT_TRUE(RunDirectXStep(log_, folder_, false, texts_, progress_, nullptr));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"ProgressCalls"), 3u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kRecordKey, L"CallbackAnswers"), 3u);
    EXPECT_FALSE(::PeekMessageW(&message, nullptr, WM_APP + 7, WM_APP + 7, PM_REMOVE))
        << "the waiting message should have been handled by the progress callback";
}

}  // namespace
}  // namespace va::test
