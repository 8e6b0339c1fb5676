#include <gtest/gtest.h>

#include "engine/placement/temporary_files.h"
#include "tests/common/scratch_folder.h"

TEST(TemporaryFiles, RemovesListedFilesAndTheEmptyFolder)
{
    va::test::ScratchFolder scratch;
    const std::wstring folder = scratch / L"vantaro_{t}";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    va::TemporaryFiles list{folder, {folder + L"\\DSetup.dll", folder + L"\\dx.cab", folder + L"\\never-written.cab"}};
    ASSERT_TRUE(va::test::WriteBytes(list.files[0], "dll"));
    ASSERT_TRUE(va::test::WriteBytes(list.files[1], "cab"));
    ::SetFileAttributesW(list.files[1].c_str(), FILE_ATTRIBUTE_READONLY);
    va::CleanUpTemporaryFiles(list);
    EXPECT_FALSE(va::test::Exists(folder));
    EXPECT_TRUE(list.files.empty());
}

TEST(TemporaryFiles, FolderWithOtherFilesStays)
{
    va::test::ScratchFolder scratch;
    const std::wstring folder = scratch / L"vantaro_{u}";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(va::test::WriteBytes(folder + L"\\left-by-setup.log", "log"));
    va::TemporaryFiles list{folder, {folder + L"\\DSetup.dll"}};
    ASSERT_TRUE(va::test::WriteBytes(list.files[0], "dll"));
    va::CleanUpTemporaryFiles(list);
    EXPECT_FALSE(va::test::Exists(folder + L"\\DSetup.dll"));
    EXPECT_TRUE(va::test::Exists(folder + L"\\left-by-setup.log"));
    va::CleanUpTemporaryFiles(list);  // an emptied list: nothing more happens
    EXPECT_TRUE(va::test::Exists(folder + L"\\left-by-setup.log"));
}
