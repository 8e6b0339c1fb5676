#include <gtest/gtest.h>

#include "support/format_message.h"

namespace {

TEST(FormatInserts, FillsNumberedInserts)
{
    struct Case {
        const wchar_t* pattern;
        std::vector<std::wstring> inserts;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Uninstall %1", {L"Trelvane"}, L"Uninstall Trelvane"},
        {L"Update from '%1' to '%2'.", {L"Trelvane 7.05", L"Trelvane 7.08g"},
         L"Update from 'Trelvane 7.05' to 'Trelvane 7.08g'."},
        {L"%2 before %1", {L"a", L"b"}, L"b before a"},
        {L"Not complete.\r\n\r\nExit?", {}, L"Not complete.\r\n\r\nExit?"},
        {L"Copying File  %1...", {L"C:\\x.dll"}, L"Copying File  C:\\x.dll..."},
        {L"100%% sure %1", {L"x"}, L"100% sure x"},
        {L"missing %1 and %2", {L"one"}, L"missing one and "},
        {L"%1", {L""}, L""},
        {L"", {L"x"}, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(va::FormatInserts(c.pattern, c.inserts), c.expected) << std::string(c.pattern, c.pattern + wcslen(c.pattern));
}

// A message with one insert: later inserts a translation names stay empty.
TEST(FormatInserts, FillsTheFirstInsertAndLeavesOthersEmpty)
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
        EXPECT_EQ(va::FormatInserts(c.pattern, {L"Trelvane"}), c.expected);
}

}  // namespace
