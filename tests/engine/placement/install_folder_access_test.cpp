// A new installation folder takes nothing from its parent: its own access
// list, made with the folder; journalled with the parents it needed.

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/placement/install_folder_access.h"
#include "support/handles.h"
#include "support/utf8_text.h"
#include "tests/common/scratch_folder.h"

namespace va::test {
namespace {

std::wstring AccessText(const std::wstring& path)
{
    DWORD needed = 0;
    ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0)
        return {};
    std::string buffer(needed, '\0');
    if (!::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), needed, &needed))
        return {};
    wchar_t* text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(buffer.data(), SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return {};
    const UniqueLocal owned(text);
    return text;
}

// The same list in the system's own text form (rights may be written as
// letters rather than as a number).
std::wstring Canonical(const wchar_t* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return {};
    const UniqueLocal owned(descriptor);
    wchar_t* text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return {};
    const UniqueLocal ownedText(text);
    return text;
}

// Whether this file system keeps an access list given at creation.
bool KeepsAccessLists(const std::wstring& path, std::wstring& readBack)
{
    const wchar_t* control = L"D:P(A;OICI;FA;;;WD)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(control, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const UniqueLocal owned(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    const bool made = ::CreateDirectoryW(path.c_str(), &attributes) != FALSE;
    readBack = made ? AccessText(path) : L"<not made>";
    const bool kept = readBack == Canonical(control);
    ::RemoveDirectoryW(path.c_str());
    return kept;
}

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
        EXPECT_EQ(access, Canonical(kInstallFolderAccess)) << Utf8(access);
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
