// The advapi32 look-ups and the Everyone security attributes of the named objects.

#include <gtest/gtest.h>

#include <system_error>

#include "support/advapi.h"
#include "support/everyone_access.h"
#include "support/system_checks.h"

namespace {

long CodeOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().category(), std::system_category());
        return e.code().value();
    }
    return 0;
}

}  // namespace

TEST(AdvapiLookup, MissingExportAndMissingLibraryRaiseTheirHresults)
{
    EXPECT_EQ(static_cast<unsigned long>(CodeOf([] { va::ResolveExport(L"advapi32.dll", "NoSuchExportAnywhere"); })),
              0x80004001ul);  // E_NOTIMPL
    EXPECT_EQ(static_cast<unsigned long>(CodeOf([] { va::ResolveExport(L"no-such-library-here.dll", "x"); })),
              0x8000FFFFul);  // E_UNEXPECTED
    EXPECT_NE(va::ResolveExport(L"advapi32.dll", "CheckTokenMembership"), nullptr);
}

TEST(AdvapiLookup, FailingCallRaisesTheHresultOfItsLastError)
{
    // An ACL too small for its own header fails with ERROR_INSUFFICIENT_BUFFER.
    DWORD tiny[1] = {};
    EXPECT_EQ(static_cast<unsigned long>(
                  CodeOf([&] { va::advapi::InitializeAcl(reinterpret_cast<PACL>(tiny), 4, ACL_REVISION); })),
              0x8007007Aul);
}

TEST(EveryoneAccess, OneAllowedEntryForEveryoneWithTheMask)
{
    for (DWORD mask : {DWORD{SEMAPHORE_ALL_ACCESS}, DWORD{MUTEX_ALL_ACCESS}}) {
        va::EveryoneAccess access(mask);
        SECURITY_ATTRIBUTES* sa = access.attributes();
        EXPECT_EQ(sa->nLength, 12u);
        EXPECT_FALSE(sa->bInheritHandle);
        auto* descriptor = static_cast<SECURITY_DESCRIPTOR*>(sa->lpSecurityDescriptor);
        EXPECT_EQ(descriptor->Revision, 1);
        EXPECT_EQ(sizeof(SECURITY_DESCRIPTOR), 20u);

        BOOL present = FALSE, defaulted = TRUE;
        PACL dacl = nullptr;
        ASSERT_TRUE(::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
        EXPECT_TRUE(present);
        EXPECT_FALSE(defaulted);
        ASSERT_NE(dacl, nullptr);
        EXPECT_EQ(dacl->AclRevision, ACL_REVISION);
        EXPECT_EQ(dacl->AceCount, 1);

        void* ace = nullptr;
        ASSERT_TRUE(::GetAce(dacl, 0, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(allowed->Mask, mask);
        PSID sid = &allowed->SidStart;
        EXPECT_EQ(dacl->AclSize, ::GetLengthSid(sid) + 16);
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        ASSERT_TRUE(::AllocateAndInitializeSid(&world, 1, 0, 0, 0, 0, 0, 0, 0, 0, &everyone));
        EXPECT_TRUE(::EqualSid(sid, everyone));
        ::FreeSid(everyone);
    }
}

TEST(SystemChecks, TheTestPrefixPassesTheRealChecks)
{
    EXPECT_GE(va::CommonControlsVersion(), 0x60000u) << "the test programs carry the Common Controls 6 manifest";
    EXPECT_NO_THROW(va::CheckCommonControls());
    EXPECT_TRUE(va::IsAdministrator());
}

TEST(SystemChecks, CommonControlsBelowSixAreRefused)
{
    struct Case { DWORD version; bool refused; };
    const Case cases[] = {{0, true}, {0x50052, true}, {0x5FFFF, true}, {0x60000, false}, {0x6000A, false}};
    for (const Case& c : cases) {
        static DWORD current;
        current = c.version;
        auto query = [] { return current; };
        if (c.refused)
            EXPECT_THROW(va::CheckCommonControls(query), std::logic_error) << std::hex << c.version;
        else
            EXPECT_NO_THROW(va::CheckCommonControls(query)) << std::hex << c.version;
    }
}
