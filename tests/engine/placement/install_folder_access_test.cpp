// A new installation folder takes nothing from its parent: its own access
// list, made with the folder; journalled with the parents it needed.

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/placement/install_folder_access.h"
#include "support/handles.h"
#include "support/utf8_text.h"
#include "tests/common/access_lists.h"
#include "tests/common/scratch_folder.h"

namespace va::test {
namespace {

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(InstallFolderAccess, ANewFolderHasItsOwnListAndTheRollbackTakesItBack)
{
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"Apps\\Vantaro\\Trelvane 7";
    UninstallLog log;
    ASSERT_EQ(CreateProtectedInstallFolder(log, folder + L"\\"), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_TRUE(Exists(folder));
    std::vector<std::wstring> made;
    for (const LogEntry& e : log.NewEntries) {
        EXPECT_EQ(e.Type, CreatedFolder);
        made.push_back(e.Path);
    }
    EXPECT_EQ(made, (std::vector<std::wstring>{scratch / L"Apps", scratch / L"Apps\\Vantaro", folder}));

    const std::wstring access = AccessText(folder);
    std::wstring readBack;
    const bool kept = KeepsAccessLists(scratch / L"control", readBack);
    if (kept) {
        EXPECT_EQ(access, CanonicalAccess(kInstallFolderAccess)) << Utf8(access);
    }

    log.Rollback();
    EXPECT_FALSE(Exists(scratch / L"Apps"));
    if (!kept)
        GTEST_SKIP() << "this system does not keep an access list given at creation (read back: "
                     << Utf8(readBack) << "): the folder's list cannot be checked";
}

TEST(InstallFolderAccess, AnExistingFolderIsLeftAsItIs)
{
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"existing";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring before = AccessText(folder);
    UninstallLog log;
    EXPECT_EQ(CreateProtectedInstallFolder(log, folder), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(log.NewEntries.empty());
    EXPECT_EQ(AccessText(folder), before);

    const std::wstring file = scratch / L"a file";
    ASSERT_TRUE(WriteBytes(file, "x"));
    EXPECT_EQ(CreateProtectedInstallFolder(log, file), static_cast<DWORD>(ERROR_DIRECTORY));
}

}  // namespace
}  // namespace va::test
