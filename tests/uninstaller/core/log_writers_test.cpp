// Who besides the administrators may change the uninstall log, as a table
// of access lists: the protected installation folder's, the one an older
// installation inherited from a folder every signed-in user may modify,
// and the owners and entries that give a standard user the pen.

#include <gtest/gtest.h>

#include "uninstaller/core/log_writers.h"

namespace va::uninstall {
namespace {

constexpr const wchar_t* kAdministrators = L"S-1-5-32-544";
constexpr const wchar_t* kSystem = L"S-1-5-18";
constexpr const wchar_t* kUsers = L"S-1-5-32-545";
constexpr const wchar_t* kAuthenticatedUsers = L"S-1-5-11";
constexpr const wchar_t* kAdministrator = L"S-1-5-21-1-2-3-500";
constexpr const wchar_t* kStandardUser = L"S-1-5-21-1-2-3-1001";
constexpr const wchar_t* kTrustedInstaller = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

constexpr std::uint32_t kFull = 0x1F01FF;
constexpr std::uint32_t kModify = 0x1301BF;
constexpr std::uint32_t kReadExecute = 0x1200A9;

LogAccessEntry Allow(const wchar_t* sid, std::uint32_t mask, bool inheritOnly = false)
{
    return {sid, mask, true, inheritOnly};
}

TEST(UntrustedLogWriter, OnlyAdministratorsSystemAndTheirOwnerMayChangeTheLog)
{
    const std::vector<LogAccessEntry> protectedList = {Allow(kAdministrators, kFull), Allow(kSystem, kFull),
                                                       Allow(kUsers, kReadExecute)};
    const struct {
        const char* name;
        LogAccess access;
        std::wstring expected;
    } cases[] = {
        {"the protected folder's list", {kAdministrators, true, protectedList}, L""},
        {"owned by SYSTEM", {kSystem, true, protectedList}, L""},
        {"owned by TrustedInstaller", {kTrustedInstaller, true, protectedList}, L""},
        {"owned by the administrator running", {kAdministrator, true, protectedList}, L""},
        {"owned by a standard user", {kStandardUser, true, protectedList}, kStandardUser},
        {"no owner", {L"", true, protectedList}, L"S-1-3-0"},
        {"no list at all", {kAdministrators, false, {}}, L"S-1-1-0"},
        {"inherited Authenticated Users: Modify",
         {kAdministrators, true, {Allow(kAdministrators, kFull), Allow(kAuthenticatedUsers, kModify)}},
         kAuthenticatedUsers},
        {"Users may append",
         {kAdministrators, true, {Allow(kAdministrators, kFull), Allow(kUsers, kReadExecute | 0x4)}}, kUsers},
        {"Users may change the list", {kAdministrators, true, {Allow(kUsers, 0x40000)}}, kUsers},
        {"Users may delete", {kAdministrators, true, {Allow(kUsers, 0x10000)}}, kUsers},
        {"generic write", {kAdministrators, true, {Allow(kUsers, 0x40000000)}}, kUsers},
        {"generic all", {kAdministrators, true, {Allow(kStandardUser, 0x10000000)}}, kStandardUser},
        {"write attributes only", {kAdministrators, true, {Allow(kUsers, kReadExecute | 0x100)}}, L""},
        {"inherit-only entries concern what is made inside",
         {kAdministrators, true, {Allow(L"S-1-3-0", kFull, true), Allow(kUsers, kModify, true)}}, L""},
        {"a denying entry is not a writer",
         {kAdministrators, true, {{kUsers, kFull, false, false}, Allow(kAdministrators, kFull)}}, L""},
        {"owner rights of a trusted owner", {kSystem, true, {Allow(L"S-1-3-4", kFull)}}, L""},
        {"the administrator running, by entry", {kAdministrators, true, {Allow(kAdministrator, kFull)}}, L""},
        {"SID text in lower case", {L"s-1-5-32-544", true, {Allow(L"s-1-5-18", kFull)}}, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UntrustedLogWriter(c.access, kAdministrator), c.expected) << c.name;
}

TEST(UntrustedLogWriter, AnUnknownRunningAccountTrustsNoUserOwner)
{
    const LogAccess access{kAdministrator, true, {Allow(kAdministrators, kFull)}};
    EXPECT_EQ(UntrustedLogWriter(access, L""), kAdministrator);
}

}  // namespace
}  // namespace va::uninstall
