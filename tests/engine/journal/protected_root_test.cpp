#include <gtest/gtest.h>

#include <sddl.h>

#include "engine/journal/journal_recovery.h"
#include "engine/journal/protected_root.h"
#include "support/handles.h"
#include "tests/common/host_links.h"
#include "tests/common/scratch_folder.h"

namespace va {
namespace {

using test::ScratchFolder;

constexpr DWORD kReparsePointEncountered = 4395;

TEST(ProtectedRoot, MadeWhenMissingThenAcceptedAsItIs)
{
    ScratchFolder s;
    const std::wstring root = s / L"Vantaro Journal";
    EXPECT_EQ(CheckProtectedRoot(root), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    ASSERT_EQ(EnsureProtectedRoot(root), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(CheckProtectedRoot(root), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(EnsureProtectedRoot(root), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(ProtectedRoot, AFileOrALinkIsNeverUsedNorRecoveredFrom)
{
    ScratchFolder s;
    const std::wstring file = s.File(L"Vantaro Journal");
    EXPECT_EQ(EnsureProtectedRoot(file), static_cast<DWORD>(ERROR_DIRECTORY));

    // A link to a folder holding a journal somebody else wrote.
    const std::wstring elsewhere = s.Folder(L"elsewhere");
    s.Folder(L"elsewhere\\run-{x}");
    test::WriteBytes(elsewhere + L"\\run-{x}\\journal.bin", "garbage");
    const std::wstring link = s / L"linked";
    if (!test::MakeFolderLink(link, elsewhere))
        GTEST_SKIP() << "no folder link can be made here";
    EXPECT_EQ(CheckProtectedRoot(link), kReparsePointEncountered);
    EXPECT_EQ(EnsureProtectedRoot(link), kReparsePointEncountered);
    const RecoveryReport report = RecoverJournals(link, {});
    EXPECT_EQ(report.Outcome, RecoveryOutcome::Refused);
    EXPECT_EQ(report.Error, kReparsePointEncountered);
    EXPECT_TRUE(test::Exists(elsewhere + L"\\run-{x}\\journal.bin"));
    test::RemoveFolderLink(link);
}

// A folder whose access list lets others write: refused, when the system
// keeps the list it was given.
TEST(ProtectedRoot, AFolderOthersMayWriteIsRefused)
{
    ScratchFolder s;
    const std::wstring root = s / L"open";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1301bf;;;BU)", SDDL_REVISION_1, &descriptor, nullptr));
    const UniqueLocal owned(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    ASSERT_TRUE(::CreateDirectoryW(root.c_str(), &attributes));

    PSECURITY_DESCRIPTOR read = nullptr;
    DWORD size = 0;
    ::GetFileSecurityW(root.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    wchar_t* text = nullptr;
    ASSERT_TRUE(::GetFileSecurityW(root.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), size, &size));
    read = buffer.data();
    ASSERT_TRUE(::ConvertSecurityDescriptorToStringSecurityDescriptorW(read, SDDL_REVISION_1,
                                                                       DACL_SECURITY_INFORMATION, &text, nullptr));
    const UniqueLocal ownedText(text);
    if (std::wstring(text).find(L";BU)") == std::wstring::npos)
        GTEST_SKIP() << "the file system did not keep the access list the folder was made with (Wine)";
    EXPECT_EQ(CheckProtectedRoot(root), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace
}  // namespace va
