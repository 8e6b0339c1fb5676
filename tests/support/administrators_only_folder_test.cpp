// The folder the uninstaller's copy runs from: only administrators and the
// system may write it, whatever its parent lets others do.

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "support/administrators_only_folder.h"
#include "support/handles.h"
#include "support/utf8_text.h"
#include "tests/common/access_lists.h"
#include "tests/common/scratch_folder.h"

namespace va::test {
namespace {

TEST(AdministratorsOnlyFolder, TakesNothingFromItsParentAndPassesItsListOn)
{
    ScratchFolder scratch;
    std::wstring readBack;
    if (!KeepsAccessLists(scratch / L"control", readBack))
        GTEST_SKIP() << "this system does not keep an access list given at creation (read back: "
                     << Utf8(readBack) << "): the folder's list cannot be checked";

    const std::wstring folder = scratch / L"copy";
    DWORD error = 0;
    ASSERT_TRUE(CreateAdministratorsOnlyFolder(folder, error)) << error;
    EXPECT_EQ(AccessText(folder), kAdministratorsOnlyAccess);

    // What the folder receives inherits the two entries and nothing else.
    const std::wstring program = folder + L"\\Uninstall.exe";
    ASSERT_TRUE(WriteBytes(program, "MZ"));
    const std::wstring inherited = AccessText(program);
    EXPECT_NE(inherited.find(L"(A;ID;FA;;;BA)"), std::wstring::npos) << Utf8(inherited);
    EXPECT_NE(inherited.find(L"(A;ID;FA;;;SY)"), std::wstring::npos) << Utf8(inherited);
    EXPECT_EQ(inherited.find(L";BU)"), std::wstring::npos) << Utf8(inherited);
    EXPECT_EQ(inherited.find(L";AU)"), std::wstring::npos) << Utf8(inherited);
    EXPECT_EQ(inherited.find(L";WD)"), std::wstring::npos) << Utf8(inherited);
}

TEST(AdministratorsOnlyFolder, AFolderThatAlreadyExistsIsNotTaken)
{
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"planted";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    DWORD error = 0;
    EXPECT_FALSE(CreateAdministratorsOnlyFolder(folder, error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

}  // namespace
}  // namespace va::test
