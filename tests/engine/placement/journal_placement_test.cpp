// The reader, the placement and the session's journal together: a failed
// extraction is undone by the journal.

#include <gtest/gtest.h>

#include "engine/journal/uninstall_log.h"
#include "engine/package/package_reader.h"
#include "engine/package/held_files.h"
#include "engine/placement/file_placement.h"
#include "engine/placement/machine_extraction.h"
#include "engine/placement/temporary_files.h"
#include "engine/placement/users_access.h"
#include "tests/common/package_fixture.h"
#include "tests/common/reparse_points.h"
#include "tests/common/scratch_folder.h"
#include "tests/common/temporary_path.h"

namespace {

using package_test::FileSpec;
using va::notification;

struct Transaction {
    va::UninstallLog log;
    va::UninstallLogJournal journal{log};
    va::PlacementContext context;
    std::wstring progress, mainProgram, uninstaller;
    std::error_code error;

    explicit Transaction(std::int32_t kind)
    {
        context.installKind = kind;
        context.journal = &journal;
        context.message = [](int n) { return n == va::kMessageOk ? std::wstring(L"OK") : std::wstring(L"Copying %1"); };
        context.appendProgress = [this](const std::wstring& t) { progress += t; };
        context.mainProgramPath = &mainProgram;
        context.uninstallerPath = &uninstaller;
        context.grant = va::GrantUsersAccess;
    }

    bool run(const std::vector<va::PackageEntry>& entries, const std::vector<FileSpec>& files,
             const std::wstring& install, const std::wstring& temporary)
    {
        std::istringstream stream(package_test::Compress(package_test::Archive(entries, files)));
        auto callback = [this](const notification& n) {
            if (auto* b = std::get_if<notification::file_begin>(&n.value))
                return va::OnFileBegin(*b->entry, context);
            if (auto* e = std::get_if<notification::file_end>(&n.value))
                return va::OnFileEnd(*e->entry, context);
            if (auto* e = std::get_if<notification::error>(&n.value)) {
                log.CommitOutcome(0);
                error = e->code;
                return notification::cancel;
            }
            return notification::proceed;
        };
        return va::extract_package(stream, install, L"Samples", temporary, callback);
    }
};

std::vector<FileSpec> Product()
{
    return {
        {L"Lang\\ENU.dll", L"<InstallPath>\\Lang", 0, "language"},
        {L"Trelvane.exe", L"<InstallPath>", 1, "new program"},
        {L"Data\\Standard.tv-lib", L"<InstallPath>\\Data", 3, "new library"},
        {L"DSetup.dll", L"<Temporary>", 5, "dx"},
        {L"Uninstall.exe", L"<InstallPath>", 2, "uninstaller"},
    };
}

}  // namespace

TEST(JournalPlacement, FreshInstallOverLeftoversThenRollbackOfAFailedRun)
{
    va::test::ScratchFolder scratch;
    const std::wstring install = scratch / L"Trelvane 7";
    const std::wstring temporary = scratch / L"vantaro_{1}";
    // Left by an earlier uninstallation: the user's library and an old program.
    ::CreateDirectoryW(install.c_str(), nullptr);
    ::CreateDirectoryW((install + L"\\Data").c_str(), nullptr);
    ASSERT_TRUE(va::test::WriteBytes(install + L"\\Data\\Standard.tv-lib", "user's library"));
    ASSERT_TRUE(va::test::WriteBytes(install + L"\\Trelvane.exe", "old program"));
    ::SetFileAttributesW((install + L"\\Trelvane.exe").c_str(), FILE_ATTRIBUTE_READONLY);

    va::TemporaryFiles temp{temporary, {}};
    const std::vector<FileSpec> files = Product();
    std::vector<va::PackageEntry> entries = package_test::Entries(files);
    entries.back().crc ^= 1;  // the last file fails its check

    Transaction t(va::Fresh);
    t.context.temporaryFiles = &temp;
    EXPECT_FALSE(t.run(entries, files, install, temporary));
    EXPECT_EQ(t.error, va::make_error_code(va::compress_errc::invalid_checksum));
    EXPECT_EQ(va::test::ReadBytes(install + L"\\Data\\Standard.tv-lib"), "user's library");  // kept
    EXPECT_EQ(va::test::ReadBytes(install + L"\\Trelvane.exe"), "new program");
    EXPECT_EQ(t.mainProgram, install + L"\\Trelvane.exe");
    EXPECT_EQ(temp.files, std::vector<std::wstring>{temporary + L"\\DSetup.dll"});
    ASSERT_FALSE(t.log.NewEntries.empty());
    EXPECT_EQ(t.log.NewEntries.back().Path, install + L"\\Uninstall.exe");
    EXPECT_EQ(t.log.NewEntries.back().Outcome, 0);

    t.log.Rollback();
    va::CleanUpTemporaryFiles(temp);
    EXPECT_EQ(va::test::ReadBytes(install + L"\\Trelvane.exe"), "old program");
    EXPECT_TRUE(va::test::Attributes(install + L"\\Trelvane.exe") & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(va::test::ReadBytes(install + L"\\Data\\Standard.tv-lib"), "user's library");
    EXPECT_FALSE(va::test::Exists(install + L"\\Lang"));
    EXPECT_FALSE(va::test::Exists(install + L"\\Uninstall.exe"));
    EXPECT_FALSE(va::test::Exists(temporary));
}

TEST(JournalPlacement, SuccessfulRunCommitsEveryJournalledFile)
{
    va::test::ScratchFolder scratch;
    const std::wstring install = scratch / L"Trelvane 7";
    const std::wstring temporary = scratch / L"vantaro_{2}";
    va::TemporaryFiles temp{temporary, {}};
    const std::vector<FileSpec> files = Product();
    Transaction t(va::Fresh);
    t.context.temporaryFiles = &temp;
    ASSERT_TRUE(t.run(package_test::Entries(files), files, install, temporary)) << t.error.message();
    int installed = 0;
    for (const va::LogEntry& e : t.log.NewEntries) {
        EXPECT_EQ(e.Outcome, 1) << std::string(e.Path.begin(), e.Path.end());
        installed += e.Type == va::InstalledFile;
    }
    EXPECT_EQ(installed, 4);  // not the DirectX file
    EXPECT_EQ(t.uninstaller, install + L"\\Uninstall.exe");
    EXPECT_EQ(t.progress.substr(0, 8), L"Copying ");
    EXPECT_EQ(va::test::ReadBytes(temporary + L"\\DSetup.dll"), "dx");
    va::CleanUpTemporaryFiles(temp);
    EXPECT_FALSE(va::test::Exists(temporary));
}

// No backup can be made (the temporary folder leaves no room for its name):
// the entry that would replace a file fails with the Windows error before
// anything is written, and the rollback leaves the file as it was.  Both a
// replaced program and a data file kept in place.
TEST(JournalPlacement, AFileThatCannotBeSavedIsNeverOverwrittenNorDeleted)
{
    struct Case {
        std::int32_t kind;
        const wchar_t* file;
        const char* before;
    } const cases[] = {
        {va::Update, L"Trelvane.exe", "old program"},
        {va::Fresh, L"Data\\Standard.tv-lib", "user's library"},
    };
    for (const Case& c : cases) {
        // No trace here: a skip would report the trace instead of its reason.
        const std::string which = c.kind == va::Update ? "replaced program" : "kept data file";
        va::test::ScratchFolder scratch;
        const std::wstring install = scratch / L"Trelvane 7";
        const std::wstring temporary = scratch / L"vantaro_{3}";
        const std::wstring target = install + L"\\" + c.file;
        ::CreateDirectoryW(install.c_str(), nullptr);
        ::CreateDirectoryW((install + L"\\Data").c_str(), nullptr);
        ASSERT_TRUE(va::test::WriteBytes(target, c.before));
        const std::wstring longTemp = va::test::MakeFolderOfLength(scratch.Path(), 248);

        va::TemporaryFiles temp{temporary, {}};
            const std::vector<FileSpec> files = Product();
        Transaction t(c.kind);
        t.context.temporaryFiles = &temp;
        {
            va::test::TemporaryPathOverride override(longTemp);
            if (!override.Applied())
                GTEST_SKIP() << "this system does not take the temporary path from TMP as given";
            EXPECT_FALSE(t.run(package_test::Entries(files), files, install, temporary));
        }
        EXPECT_EQ(t.error, std::error_code(ERROR_FILENAME_EXCED_RANGE, std::system_category()))
            << which << ": " << t.error.message();
        EXPECT_EQ(va::test::ReadBytes(target), c.before) << which;
        t.log.Rollback();
        va::CleanUpTemporaryFiles(temp);
        EXPECT_EQ(va::test::ReadBytes(target), c.before) << which;
        EXPECT_FALSE(va::test::Exists(install + L"\\Lang"));
    }
}

// A link planted below the token's folder (a junction for a folder of the
// chain, a symbolic link for the file itself) fails its entry with a Windows
// error before anything is moved, written or granted through it, and the
// file it points to survives the installation and its rollback.
TEST(JournalPlacement, NothingIsWrittenThroughALinkPlantedBelowTheTokensFolder)
{
    // No trace here: a skip would report the trace instead of its reason.
    for (bool junction : {true, false}) {
        const char* kind = junction ? "junction" : "symbolic link";
        va::test::ScratchFolder scratch;
        const std::wstring install = scratch / L"Trelvane 7";
        const std::wstring elsewhere = scratch / L"elsewhere";
        const std::wstring temporary = scratch / L"vantaro_{4}";
        ::CreateDirectoryW(install.c_str(), nullptr);
        ::CreateDirectoryW(elsewhere.c_str(), nullptr);
        ASSERT_TRUE(va::test::WriteBytes(elsewhere + L"\\Standard.tv-lib", "somebody's file"));
        bool planted = false;
        if (junction) {
            planted = va::test::MakeJunction(install + L"\\Data", elsewhere);
        } else {
            ::CreateDirectoryW((install + L"\\Data").c_str(), nullptr);
            planted = va::test::MakeFileSymlink(install + L"\\Data\\Standard.tv-lib", elsewhere + L"\\Standard.tv-lib");
        }
        if (!planted)
            GTEST_SKIP() << "this system cannot make a " << kind
                         << " that reads back as a reparse point (Wine 8 refuses FSCTL_SET_REPARSE_POINT and "
                            "only pretends to make symbolic links)";

        va::TemporaryFiles temp{temporary, {}};
            const std::vector<FileSpec> files = Product();
        Transaction t(va::Fresh);
        t.context.temporaryFiles = &temp;
        EXPECT_FALSE(t.run(package_test::Entries(files), files, install, temporary)) << kind;
        EXPECT_EQ(t.error, std::error_code(ERROR_CANT_ACCESS_FILE, std::system_category()))
            << kind << ": " << t.error.message();
        t.log.Rollback();
        va::CleanUpTemporaryFiles(temp);
        EXPECT_EQ(va::test::ReadBytes(elsewhere + L"\\Standard.tv-lib"), "somebody's file") << kind;
        ::RemoveDirectoryW((install + L"\\Data").c_str());  // a junction is removed as a folder
        ::DeleteFileW((install + L"\\Data\\Standard.tv-lib").c_str());
    }
}

// The DirectX library passes through the user's own temporary folder: from
// its check to its loading nobody may change, rename or delete it, and a
// file changed before the hold fails its entry.
TEST(JournalPlacement, TheDirectXLibraryIsHeldUnchangedUntilItIsUsed)
{
    va::test::ScratchFolder scratch;
    const std::wstring install = scratch / L"Trelvane 7";
    const std::wstring temporary = scratch / L"vantaro_{5}";
    va::TemporaryFiles temp{temporary, {}};
    const std::vector<FileSpec> files = Product();
    Transaction t(va::Fresh);
    t.context.temporaryFiles = &temp;
    ASSERT_TRUE(t.run(package_test::Entries(files), files, install, temporary)) << t.error.message();
    const std::wstring library = temporary + L"\\DSetup.dll";
    {
        va::UniqueFile writer(::CreateFileW(library.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(writer);
    }
    EXPECT_FALSE(::MoveFileW(library.c_str(), (temporary + L"\\other.dll").c_str()));
    va::CleanUpTemporaryFiles(temp);
    EXPECT_FALSE(va::test::Exists(temporary)) << "the hold ends before the clean-up";

    // Changed between the read-back and the hold.
    ::CreateDirectoryW(temporary.c_str(), nullptr);
    ASSERT_TRUE(va::test::WriteBytes(library, "swapped"));
    va::PackageEntry entry{L"DSetup.dll", library, va::DirectXSetupFile, 2, va::crc32_of("dx", 2), {}};
    va::PlacementContext context;
    try {
        va::OnFileEnd(entry, context);
        ADD_FAILURE() << "a changed library was accepted";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code(), std::error_code(ERROR_CRC, std::system_category()));
    }
    EXPECT_FALSE(va::TakeHeldFile(library));
    ::DeleteFileW(library.c_str());
    ::RemoveDirectoryW(temporary.c_str());
}
