// Shared folders are writable by every user: a link put in place of one of
// them, or a second name of another file where the installer writes, must
// never receive the installer's writes, rights or read-only marks.  The
// links are made as the uninstaller's link tests make them (host side under
// Wine, where they read back as reparse points).

#include <gtest/gtest.h>

#include <ios>
#include <system_error>

#include "engine/journal/same_path.h"
#include "engine/package/output_file.h"
#include "engine/placement/file_placement.h"
#include "engine/placement/read_only_marking.h"
#include "engine/placement/users_access.h"
#include "tests/common/host_links.h"
#include "tests/common/scratch_folder.h"

namespace va::test {
namespace {

constexpr DWORD kRefusedLink = ERROR_CANT_ACCESS_FILE;

DWORD ThrownCode(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::system_error& e) {
        return static_cast<DWORD>(e.code().value());
    }
    return ERROR_SUCCESS;
}

std::size_t Names(const std::wstring& path)
{
    UniqueFile file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                  FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION facts{};
    return file && ::GetFileInformationByHandle(file.get(), &facts) ? facts.nNumberOfLinks : 0;
}

// A scratch folder with a "victims" folder outside the product's folders;
// links made here are removed (never followed) on the way out.
class LinkFreePlacement : public ::testing::Test {
protected:
    ~LinkFreePlacement() override
    {
        for (const std::wstring& link : links_)
            RemoveFolderLink(link);
    }

    // `folder` (which must not exist) made a link to the victims' folder.
    bool LinkToVictims(const std::wstring& folder)
    {
        if (!MakeFolderLink(folder, victims_))
            return false;
        links_.push_back(folder);
        return true;
    }

    // `second` made a second name of a new file among the victims.
    bool SecondNameOfVictim(const std::wstring& second, const std::string& content)
    {
        victim_ = scratch_.File(L"victims\\other.bin", content);
        return ::CreateHardLinkW(second.c_str(), victim_.c_str(), nullptr) && Names(victim_) == 2;
    }

    ScratchFolder scratch_;
    std::wstring victims_ = scratch_.Folder(L"victims");
    std::wstring victim_;
    std::vector<std::wstring> links_;
};

constexpr const char* kNoLink =
    "no folder link could be made here: neither the system (CreateSymbolicLinkW) nor, under Wine, the host's ln";
constexpr const char* kNoHardLink = "this file system makes no second name of a file (CreateHardLinkW)";

// A link found where a shared folder should be: nothing is written or
// granted through it, and the open fails with the refusal.
TEST_F(LinkFreePlacement, ASharedFolderReplacedByALinkReceivesNothing)
{
    const std::wstring data = scratch_.Folder(L"ProgramData");
    const std::wstring product = data + L"\\Vantaro";
    if (!LinkToVictims(product))
        GTEST_SKIP() << kNoLink;
    SharedFolderList shared(SamePath);
    shared.mark_shared(product);
    std::vector<std::wstring> granted;
    GrantFn grant = [&](const std::wstring& p, DWORD, BYTE) {
        granted.push_back(p);
        return true;
    };
    EXPECT_EQ(ThrownCode([&] { OpenOutputFile(product + L"\\Standard.tv-lib", data, shared, grant); }), kRefusedLink);
    EXPECT_TRUE(granted.empty());
    EXPECT_FALSE(Exists(victims_ + L"\\Standard.tv-lib")) << "written through the link";
}

// The grant itself opens what it changes without following a link, and
// refuses a link or a second name of another file: the rights would go to
// whatever it stands for.
TEST_F(LinkFreePlacement, RightsAreNeverGrantedThroughALinkOrASecondName)
{
    const std::wstring data = scratch_.Folder(L"ProgramData");
    const std::wstring second = data + L"\\Standard.tv-lib";
    const bool hardLinked = SecondNameOfVictim(second, "somebody's file");
    const bool linked = LinkToVictims(data + L"\\Vantaro");
    if (linked) {
        EXPECT_EQ(ThrownCode([&] { GrantUsersAccess(data + L"\\Vantaro", kSharedFolderAccess, 3); }), kRefusedLink);
    }
    if (hardLinked) {
        EXPECT_EQ(ThrownCode([&] { GrantUsersAccess(second, 0x13019F, 0); }), DWORD{ERROR_TOO_MANY_LINKS});
    }
    // A plain file and folder still receive theirs.
    const std::wstring plain = scratch_.File(L"ProgramData\\plain.bin");
    EXPECT_EQ(ThrownCode([&] { GrantUsersAccess(plain, 0x13019F, 0); }), DWORD{ERROR_SUCCESS});
    EXPECT_EQ(ThrownCode([&] { GrantUsersAccess(data, kSharedFolderAccess, 3); }), DWORD{ERROR_SUCCESS});
    if (!linked)
        GTEST_SKIP() << kNoLink;
    if (!hardLinked)
        GTEST_SKIP() << kNoHardLink;
}

// Between the check and the grant a user tries to put a link in place of
// the shared folder: the folder is held, so the swap fails, and the rights
// and the file land in the real folder.
TEST_F(LinkFreePlacement, ASwapBetweenTheCheckAndTheGrantIsNotFollowed)
{
    const std::wstring data = scratch_.Folder(L"ProgramData");
    const std::wstring product = scratch_.Folder(L"ProgramData\\Vantaro");
    {
        const std::wstring probe = scratch_.Folder(L"probe");
        UniqueFile held(::CreateFileW(probe.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        ASSERT_TRUE(held);
        if (::MoveFileW(probe.c_str(), (probe + L" moved").c_str()))
            GTEST_SKIP() << "this system renames a folder held open without delete sharing (Wine): the swap "
                            "cannot be held off here";
    }
    SharedFolderList shared(SamePath);
    shared.mark_shared(product);
    bool swapped = false;
    DWORD grantError = ERROR_SUCCESS;
    GrantFn grant = [&](const std::wstring& p, DWORD mask, BYTE inheritance) {
        swapped = ::MoveFileW(product.c_str(), (product + L" moved").c_str()) && LinkToVictims(product);
        grantError = ThrownCode([&] { GrantUsersAccess(p, mask, inheritance); });
        return true;
    };
    auto out = OpenOutputFile(product + L"\\Standard.tv-lib", data, shared, grant);
    out->write("new", 3);
    out->flush();
    out.reset();
    EXPECT_FALSE(swapped) << "a held shared folder was renamed";
    EXPECT_EQ(grantError, DWORD{ERROR_SUCCESS});
    EXPECT_EQ(ReadBytes(product + L"\\Standard.tv-lib"), "new");
    EXPECT_FALSE(Exists(victims_ + L"\\Standard.tv-lib"));
}

// A second name of another file where a file is placed: the name gets a new
// file, the other file keeps its content (and its read-only mark).
TEST_F(LinkFreePlacement, ASecondNameIsReplacedNeverWrittenThrough)
{
    const std::wstring data = scratch_.Folder(L"ProgramData\\Vantaro");
    for (const bool readOnly : {false, true}) {
        const std::wstring second = data + L"\\Standard.tv-lib";
        ::SetFileAttributesW(second.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(second.c_str());
        if (!victim_.empty())
            ::SetFileAttributesW(victim_.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!SecondNameOfVictim(second, "somebody's file"))
            GTEST_SKIP() << kNoHardLink;
        if (readOnly) {
            ASSERT_TRUE(::SetFileAttributesW(victim_.c_str(), FILE_ATTRIBUTE_READONLY));
        }

        SharedFolderList shared(SamePath);
        auto out = OpenOutputFile(second, scratch_.Path(), shared, [](const std::wstring&, DWORD, BYTE) { return true; });
        out->exceptions(std::ios_base::failbit | std::ios_base::badbit);
        out->write("the installer's", 15);
        out->flush();
        out.reset();
        EXPECT_EQ(ReadBytes(victim_), "somebody's file") << "read-only " << readOnly;
        EXPECT_EQ(ReadBytes(second), "the installer's") << "read-only " << readOnly;
        EXPECT_EQ(Names(second), 1u);
        EXPECT_EQ(Names(victim_), 1u);
        EXPECT_EQ((Attributes(victim_) & FILE_ATTRIBUTE_READONLY) != 0, readOnly);
        EXPECT_FALSE(Attributes(second) & FILE_ATTRIBUTE_READONLY);
    }
}

// A data file kept in place receives its rights only where it is no second
// name of another file; a refusal is handed on to be named in the run log.
TEST_F(LinkFreePlacement, AKeptDataFileWithASecondNameReceivesNoRightsAndIsNamed)
{
    const std::wstring data = scratch_.Folder(L"ProgramData\\Vantaro");
    const std::wstring second = data + L"\\Materials.tv-lib";
    if (!SecondNameOfVictim(second, "somebody's file"))
        GTEST_SKIP() << kNoHardLink;
    PackageEntry entry;
    entry.destination = second;
    entry.root = scratch_.Path();
    entry.kind = UserData;
    std::vector<std::pair<std::wstring, DWORD>> refused;
    PlacementContext context;
    context.grant = GrantUsersAccess;
    context.grantRefused = [&](const std::wstring& path, DWORD error) { refused.emplace_back(path, error); };
    EXPECT_EQ(OnFileBegin(entry, context), notification::skip);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].first, second);
    EXPECT_EQ(refused[0].second, DWORD{ERROR_TOO_MANY_LINKS});
    EXPECT_EQ(ReadBytes(victim_), "somebody's file");
}

// The read-only mark goes through a checked handle: never through a link
// on the way nor onto a second name of another file.
TEST_F(LinkFreePlacement, TheReadOnlyMarkIsNeverSetThroughALink)
{
    const std::wstring install = scratch_.Folder(L"Trelvane");
    const std::wstring program = scratch_.File(L"Trelvane\\Trelvane.exe");
    EXPECT_EQ(MarkReadOnlyWithoutLinks(scratch_.Path(), program), DWORD{ERROR_SUCCESS});
    EXPECT_TRUE(Attributes(program) & FILE_ATTRIBUTE_READONLY);

    const std::wstring second = install + L"\\Uninstall.exe";
    const bool hardLinked = SecondNameOfVictim(second, "somebody's program");
    if (hardLinked) {
        EXPECT_EQ(MarkReadOnlyWithoutLinks(scratch_.Path(), second), DWORD{ERROR_TOO_MANY_LINKS});
        EXPECT_FALSE(Attributes(victim_) & FILE_ATTRIBUTE_READONLY);
    }
    const std::wstring victim = scratch_.File(L"victims\\Trelvane.exe");
    const bool linked = LinkToVictims(install + L"\\Bin");
    if (linked) {
        EXPECT_EQ(MarkReadOnlyWithoutLinks(scratch_.Path(), install + L"\\Bin\\Trelvane.exe"), kRefusedLink);
        EXPECT_FALSE(Attributes(victim) & FILE_ATTRIBUTE_READONLY);
    }
    ::SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!linked)
        GTEST_SKIP() << kNoLink;
    if (!hardLinked)
        GTEST_SKIP() << kNoHardLink;
}

}  // namespace
}  // namespace va::test
