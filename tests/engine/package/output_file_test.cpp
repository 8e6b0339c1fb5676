#include <gtest/gtest.h>

#include <ios>

#include "engine/journal/same_path.h"
#include "engine/package/core/crc32.h"
#include "engine/package/core/package_extractor.h"
#include "engine/package/core/package_reading.h"
#include "engine/package/link_free_path.h"
#include "engine/package/output_file.h"
#include "engine/package/package_reader.h"
#include "engine/placement/machine_extraction.h"
#include "support/handles.h"
#include "tests/common/host_links.h"
#include "tests/common/package_fixture.h"
#include "tests/common/scratch_folder.h"

namespace {

va::SharedFolderList NoSharedFolders()
{
    return va::SharedFolderList([](const std::wstring& a, const std::wstring& b) { return a == b; });
}

bool NoGrant(const std::wstring&, DWORD, BYTE) { return true; }

void Write(const std::wstring& path, const std::string& bytes)
{
    va::SharedFolderList shared = NoSharedFolders();
    auto out = va::OpenOutputFile(path, L"", shared, NoGrant);
    out->exceptions(std::ios_base::failbit | std::ios_base::badbit);
    out->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out->flush();
}

}  // namespace

TEST(OutputFile, CreatesFoldersAndReplacesReadOnlyFiles)
{
    va::test::ScratchFolder scratch;
    const std::wstring deep = scratch / L"a\\b c\\d\\file.bin";
    Write(deep, "first");
    EXPECT_EQ(va::test::ReadBytes(deep), "first");

    ::SetFileAttributesW(deep.c_str(), FILE_ATTRIBUTE_READONLY);
    Write(deep, "second, longer");
    EXPECT_EQ(va::test::ReadBytes(deep), "second, longer");
    EXPECT_FALSE(va::test::Attributes(deep) & FILE_ATTRIBUTE_READONLY);
}

TEST(OutputFile, OthersMayReadButNotWrite)
{
    va::test::ScratchFolder scratch;
    const std::wstring path = scratch / L"shared.bin";
    va::SharedFolderList shared = NoSharedFolders();
    auto out = va::OpenOutputFile(path, L"", shared, NoGrant);
    va::UniqueFile reader(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(reader) << ::GetLastError();
    va::UniqueFile writer(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(writer);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST(OutputFile, OpenFailureCarriesTheWindowsError)
{
    va::test::ScratchFolder scratch;
    const std::wstring file = scratch / L"plain.txt";
    ASSERT_TRUE(va::test::WriteBytes(file, "x"));
    va::SharedFolderList shared = NoSharedFolders();
    try {
        va::OpenOutputFile(file + L"\\below\\x.bin", L"", shared, NoGrant);
        ADD_FAILURE() << "opened below a file";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().category(), std::system_category());
        EXPECT_NE(e.code().value(), 0);
    }
}

TEST(FileCrc32, ValueAndSharingViolation)
{
    va::test::ScratchFolder scratch;
    const std::wstring path = scratch / L"data.bin";
    std::string bytes;
    for (int i = 0; i < 10000; ++i)
        bytes += static_cast<char>(i * 7);
    ASSERT_TRUE(va::test::WriteBytes(path, bytes));
    EXPECT_EQ(va::file_crc32(path), va::crc32_of(bytes.data(), bytes.size()));

    va::UniqueFile holder(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    try {
        va::file_crc32(path);
        ADD_FAILURE() << "read a file held exclusively";
    } catch (const std::ios_base::failure& e) {
        EXPECT_EQ(e.code(), std::error_code(ERROR_SHARING_VIOLATION, std::system_category()));
    }
    holder.reset();
    try {
        va::file_crc32(scratch / L"missing.bin");
        ADD_FAILURE() << "read a missing file";
    } catch (const std::ios_base::failure& e) {
        EXPECT_EQ(e.code(), std::error_code(ERROR_FILE_NOT_FOUND, std::system_category()));
    }
}

TEST(WindowsReader, FailureInsideAFileNamesItAndKeepsTheWindowsCode)
{
    va::test::ScratchFolder scratch;
    ASSERT_TRUE(va::test::WriteBytes(scratch / L"blocker", "a file where a folder should be"));
    const std::vector<package_test::FileSpec> files = {
        {L"ok.txt", L"<InstallPath>", 0, "fine"},
        {L"x.txt", L"<InstallPath>\\blocker\\sub", 0, "cannot be placed"},
    };
    std::istringstream stream(package_test::Compress(package_test::Archive(files)));
    va::notification::error reported;
    auto callback = [&](const va::notification& n) {
        if (auto* e = std::get_if<va::notification::error>(&n.value))
            reported = *e;
        return va::notification::proceed;
    };
    EXPECT_FALSE(va::extract_package(stream, scratch.Path(), L"S", L"", callback));
    EXPECT_EQ(reported.code.category(), std::system_category());
    EXPECT_NE(reported.code.value(), 0);
    EXPECT_EQ(reported.text, scratch / L"blocker\\sub\\x.txt");
    EXPECT_EQ(va::test::ReadBytes(scratch / L"ok.txt"), "fine");
}

// Another process holding the new file when it is read back: the reader
// waits and reads again.  Here the "other process" lets go during the wait.
TEST(WindowsReader, ReadBackRetriesWhileAnotherHolderLetsGo)
{
    struct HeldOnce : va::WindowsExtractionHost {
        HeldOnce() : va::WindowsExtractionHost(nullptr, va::SamePath, NoGrant) {}
        va::UniqueFile holder;
        int reads = 0, waits = 0;
        std::uint32_t file_crc32(const std::wstring& path) override
        {
            if (reads++ == 0)
                holder.reset(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            return va::WindowsExtractionHost::file_crc32(path);
        }
        void wait_before_retry() override
        {
            ++waits;
            holder.reset();
        }
    };
    va::test::ScratchFolder scratch;
    const std::vector<package_test::FileSpec> files = {{L"held.bin", L"<InstallPath>", 0, "held for a moment"}};
    std::istringstream stream(package_test::Compress(package_test::Archive(files)));
    HeldOnce host;
    EXPECT_TRUE(va::extract_package(stream, {scratch.Path(), L"S", L""}, nullptr, host));
    EXPECT_EQ(host.reads, 2);
    EXPECT_EQ(host.waits, 1);
}

// The folders checked for links: those below the token's folder only.
TEST(FoldersBelowRoot, TakesTheChainBelowTheTokensFolder)
{
    using V = std::vector<std::wstring>;
    const struct {
        const wchar_t* root;
        const wchar_t* folder;
        V chain;
    } cases[] = {
        {L"C:\\ProgramData", L"C:\\ProgramData\\Vantaro\\Trelvane 7",
         V{L"C:\\ProgramData\\Vantaro", L"C:\\ProgramData\\Vantaro\\Trelvane 7"}},
        {L"C:\\ProgramData\\", L"C:\\ProgramData\\Vantaro", V{L"C:\\ProgramData\\Vantaro"}},
        {L"C:\\Inst", L"C:\\Inst", V{}},
        {L"C:\\Inst", L"C:/Inst//Data/", V{L"C:/Inst//Data"}},
        {L"", L"C:\\A\\B", V{L"C:\\A", L"C:\\A\\B"}},
        {L"D:\\Other", L"C:\\A", V{L"C:\\A"}},
        {L"\\\\server\\share", L"\\\\server\\share\\x", V{L"\\\\server\\share\\x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(va::FoldersBelowRoot(c.root, c.folder), c.chain) << std::string(c.folder, c.folder + wcslen(c.folder));
}

// The held folders cannot be renamed away (and a link put in their place)
// while the file below them is being written.
TEST(PinnedFolderChain, HoldsTheFoldersBelowTheRootInPlace)
{
    va::test::ScratchFolder s;
    ASSERT_TRUE(::CreateDirectoryW((s / L"Data").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((s / L"Data\\Sub").c_str(), nullptr));
    {
        ASSERT_TRUE(::CreateDirectoryW((s / L"Probe").c_str(), nullptr));
        va::UniqueFile held(::CreateFileW((s / L"Probe").c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        ASSERT_TRUE(held);
        if (::MoveFileW((s / L"Probe").c_str(), (s / L"Probe moved").c_str()))
            GTEST_SKIP() << "this system renames a folder held open without delete sharing (Wine)";
    }
    {
        va::PinnedFolderChain chain;
        ASSERT_EQ(chain.Pin(s.Path(), s / L"Data\\Sub\\Missing\\Deeper"), DWORD{ERROR_SUCCESS});
        EXPECT_FALSE(::MoveFileW((s / L"Data\\Sub").c_str(), (s / L"Moved").c_str()));
        EXPECT_FALSE(::MoveFileW((s / L"Data").c_str(), (s / L"Moved").c_str()));
    }
    EXPECT_TRUE(::MoveFileW((s / L"Data").c_str(), (s / L"Moved").c_str())) << "released with the chain";
}


// One chain pinned file after file: what the next chain shares with the held
// one is kept, every other folder is checked anew, so a link met only by the
// later chain is still refused.
TEST(PinnedFolderChain, PinnedAgainChecksEveryFolderItDoesNotShare)
{
    va::test::ScratchFolder s;
    for (const wchar_t* folder : {L"Data", L"Data\\A", L"Data\\A\\Deep", L"Data\\B", L"Victims", L"Other"})
        ASSERT_TRUE(::CreateDirectoryW((s / folder).c_str(), nullptr)) << folder;
    if (!va::test::MakeFolderLink(s / L"Data\\A\\Link", s / L"Victims") ||
        !va::test::MakeFolderLink(s / L"Data\\Link", s / L"Victims"))
        GTEST_SKIP() << "no folder link can be made here";
    const struct {
        const wchar_t* root;
        const wchar_t* folder;
        DWORD expected;
    } steps[] = {
        {L"", L"Data\\A\\Deep", ERROR_SUCCESS},
        {L"", L"Data\\A\\Link", ERROR_CANT_ACCESS_FILE},    // below a shared part
        {L"", L"Data\\A\\Deep", ERROR_SUCCESS},             // after a refusal: all anew
        {L"", L"Data\\Link\\Deeper", ERROR_CANT_ACCESS_FILE},  // another branch
        {L"", L"Data\\B", ERROR_SUCCESS},
        {L"Data", L"Data\\A\\Link", ERROR_CANT_ACCESS_FILE},  // another root
        {L"Data\\A", L"Data\\A\\Deep", ERROR_SUCCESS},
    };
    va::PinnedFolderChain chain;
    for (const auto& step : steps) {
        const std::wstring root = *step.root ? s / step.root : std::wstring();
        EXPECT_EQ(chain.Pin(root, s / step.folder), step.expected) << step.root << " | " << step.folder;
    }
    chain.Release();
    va::test::RemoveFolderLink(s / L"Data\\A\\Link");
    va::test::RemoveFolderLink(s / L"Data\\Link");
}
