#include <gtest/gtest.h>

#include "engine/install_progress.h"

namespace va::test {
namespace {

TEST(FillInsert, FillsTheFirstInsertAndLeavesOthersEmpty)
{
    const struct {
        const wchar_t* pattern;
        const wchar_t* expected;
    } cases[] = {
        {L"Uninstall %1", L"Uninstall Trelvane"},
        {L"D\u00e9sinstaller %1", L"D\u00e9sinstaller Trelvane"},
        {L"%1 %1", L"Trelvane Trelvane"},
        {L"no insert", L"no insert"},
        {L"%1 and %2 and %99", L"Trelvane and  and "},  // later inserts stay empty, never read wild
        {L"100%% sure", L"100% sure"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FillInsert(c.pattern, L"Trelvane"), c.expected);
}

}  // namespace
}  // namespace va::test
