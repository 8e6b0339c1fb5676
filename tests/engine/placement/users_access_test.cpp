#include <gtest/gtest.h>

#include <vector>

#include "engine/placement/users_access.h"
#include "tests/common/scratch_folder.h"

namespace {

struct Sid {
    std::vector<BYTE> bytes;
    PSID get() { return bytes.data(); }
};

Sid WellKnown(WELL_KNOWN_SID_TYPE type)
{
    Sid sid{std::vector<BYTE>(SECURITY_MAX_SID_SIZE)};
    DWORD size = static_cast<DWORD>(sid.bytes.size());
    EXPECT_TRUE(::CreateWellKnownSid(type, nullptr, sid.get(), &size));
    return sid;
}

struct Entry {
    BYTE type;
    BYTE flags;
    DWORD mask;
    std::vector<BYTE> sid;
    bool operator==(const Entry&) const = default;
};

std::vector<Entry> Entries(PACL acl)
{
    std::vector<Entry> out;
    ACL_SIZE_INFORMATION info{};
    EXPECT_TRUE(::GetAclInformation(acl, &info, sizeof info, AclSizeInformation));
    for (DWORD i = 0; i < info.AceCount; ++i) {
        void* ace = nullptr;
        EXPECT_TRUE(::GetAce(acl, i, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        PSID sid = &allowed->SidStart;
        const BYTE* b = static_cast<const BYTE*>(sid);
        out.push_back({allowed->Header.AceType, allowed->Header.AceFlags, allowed->Mask,
                       std::vector<BYTE>(b, b + ::GetLengthSid(sid))});
    }
    return out;
}


}  // namespace

TEST(UsersAccess, NewEntryAfterTheExplicitBeforeTheInheritedUsersReplaced)
{
    Sid admins = WellKnown(WinBuiltinAdministratorsSid);
    Sid users = WellKnown(WinBuiltinUsersSid);
    Sid everyone = WellKnown(WinWorldSid);
    Sid system = WellKnown(WinLocalSystemSid);
    std::vector<BYTE> buffer(1024);
    auto* old = reinterpret_cast<PACL>(buffer.data());
    ASSERT_TRUE(::InitializeAcl(old, 1024, ACL_REVISION));
    ASSERT_TRUE(::AddAccessAllowedAceEx(old, ACL_REVISION, 0, 0x1F01FF, admins.get()));
    ASSERT_TRUE(::AddAccessAllowedAceEx(old, ACL_REVISION, 0, 0x1200A9, users.get()));
    ASSERT_TRUE(::AddAccessDeniedAceEx(old, ACL_REVISION, 0, 0x40000, everyone.get()));
    ASSERT_TRUE(::AddAccessAllowedAceEx(old, ACL_REVISION, INHERITED_ACE | 3, 0x1200A9, users.get()));
    ASSERT_TRUE(::AddAccessAllowedAceEx(old, ACL_REVISION, INHERITED_ACE, 0x1F01FF, system.get()));

    std::vector<BYTE> built = va::BuildUsersAccessList(old, users.get(), 0x13019F, 0);
    ASSERT_TRUE(::IsValidAcl(reinterpret_cast<PACL>(built.data())));
    const auto sidOf = [](Sid& s) { return std::vector<BYTE>(s.bytes.begin(), s.bytes.begin() + ::GetLengthSid(s.get())); };
    const std::vector<Entry> expected = {
        {ACCESS_ALLOWED_ACE_TYPE, 0, 0x1F01FF, sidOf(admins)},
        {ACCESS_DENIED_ACE_TYPE, 0, 0x40000, sidOf(everyone)},
        {ACCESS_ALLOWED_ACE_TYPE, 0, 0x13019F, sidOf(users)},
        {ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE, 0x1F01FF, sidOf(system)},
    };
    EXPECT_EQ(Entries(reinterpret_cast<PACL>(built.data())), expected);
}

TEST(UsersAccess, WithoutAnOldListOnlyTheUsersEntry)
{
    Sid users = WellKnown(WinBuiltinUsersSid);
    std::vector<BYTE> built = va::BuildUsersAccessList(nullptr, users.get(), 0x1F01FF, 3);
    const std::vector<Entry> entries = Entries(reinterpret_cast<PACL>(built.data()));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].mask, 0x1F01FFu);
    EXPECT_EQ(entries[0].flags, 3);
}

TEST(UsersAccess, UsersSidIsTheBuiltinGroup)
{
    Sid users = WellKnown(WinBuiltinUsersSid);
    va::advapi::UniqueSid made = va::UsersSid();
    EXPECT_TRUE(::EqualSid(made.get(), users.get()));
}

TEST(UsersAccess, ProtectionStateCarriedOver)
{
    const std::pair<SECURITY_DESCRIPTOR_CONTROL, SECURITY_DESCRIPTOR_CONTROL> cases[] = {
        {0, 0},
        {SE_DACL_AUTO_INHERITED, SE_DACL_AUTO_INHERIT_REQ | SE_DACL_AUTO_INHERITED},
        {SE_DACL_PROTECTED, SE_DACL_PROTECTED},
        {SE_DACL_PROTECTED | SE_DACL_AUTO_INHERITED, SE_DACL_AUTO_INHERIT_REQ | SE_DACL_AUTO_INHERITED},
        {SE_DACL_PRESENT | SE_SELF_RELATIVE, 0},
    };
    for (const auto& [old, carried] : cases)
        EXPECT_EQ(va::CarriedProtection(old), carried) << old;
}

TEST(UsersAccess, WrittenToAFile)
{
    va::test::ScratchFolder scratch;
    const std::wstring path = scratch / L"data.tv-lib";
    ASSERT_TRUE(va::test::WriteBytes(path, "data"));
    ASSERT_TRUE(va::GrantUsersAccess(path, 0x13019F, 0));

    std::vector<BYTE> descriptor(4096);
    DWORD needed = 0;
    ASSERT_TRUE(::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(),
                                   static_cast<DWORD>(descriptor.size()), &needed));
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    ASSERT_TRUE(::GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted));
    Sid users = WellKnown(WinBuiltinUsersSid);
    bool found = false;
    if (present && acl)
        for (const Entry& e : Entries(acl))
            if (e.sid == std::vector<BYTE>(users.bytes.begin(), users.bytes.begin() + ::GetLengthSid(users.get())) &&
                e.mask == 0x13019Fu && !(e.flags & INHERITED_ACE))
                found = true;
    if (!found)
        GTEST_SKIP() << "this platform accepted the access list but does not keep file ACLs (Wine)";
    SUCCEED();
}

TEST(UsersAccess, MissingFileRaises)
{
    va::test::ScratchFolder scratch;
    EXPECT_THROW(va::GrantUsersAccess(scratch / L"missing", 0x13019F, 0), std::system_error);
}
