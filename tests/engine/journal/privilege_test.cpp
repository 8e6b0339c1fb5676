#include <gtest/gtest.h>

#include <windows.h>

#include "engine/journal/privilege.h"

namespace va {
namespace {

TEST(SetPrivilege, AdjustsAHeldPrivilegeAndRefusesAnUnknownOne)
{
    EXPECT_TRUE(SetPrivilege(SE_BACKUP_NAME, true));
    EXPECT_TRUE(SetPrivilege(SE_BACKUP_NAME, false));
    EXPECT_TRUE(SetPrivilege(SE_RESTORE_NAME, true));
    EXPECT_TRUE(SetPrivilege(SE_RESTORE_NAME, false));
    EXPECT_FALSE(SetPrivilege(L"SeNoSuchPrivilege", true));
}

}  // namespace
}  // namespace va
