#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/core/path_text.h"

namespace va {
namespace {

TEST(PathText, ParentFolderIsTheTextUpToTheLastSeparatorWithoutTrailingSeparators)
{
    struct Case {
        std::wstring path, parent;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Vantaro\\Uninstall.exe", L"C:\\Program Files\\Vantaro"},
        {L"C:\\a\\\\\\b.exe", L"C:\\a"},
        {L"C:/a/b.exe", L"C:/a"},
        {L"C:\\b.exe", L"C:"},
        {L"b.exe", L""},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParentFolder(c.path), c.parent) << std::string(c.path.begin(), c.path.end());
}

TEST(PathText, ParentFolderKeepingRootStopsAtTheRoot)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\A\\B", L"C:\\A"}, {L"C:\\A", L"C:\\"}, {L"C:\\", L""},         {L"C:\\A\\B\\", L"C:\\A"},
        {L"/a/b", L"/a"},        {L"/a", L"/"},      {L"name", L""},          {L"C:\\A\\\\B", L"C:\\A"},
    };
    for (const auto& [path, parent] : cases)
        EXPECT_EQ(ParentFolderKeepingRoot(path), parent) << path;
}

// The summary and progress lines show a long path whole, quoted as the
// shell would quote it.
TEST(PathText, QuotedIfSpacedQuotesAPathWithASpaceAtAnyLength)
{
    const std::wstring deep = L"C:\\Program Files\\" + std::wstring(300, L'x') + L"\\a.dll";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Apps\\a.dll", L"C:\\Apps\\a.dll"},
        {L"C:\\Program Files\\a.dll", L"\"C:\\Program Files\\a.dll\""},
        {deep, L"\"" + deep + L"\""},
        {L"", L""},
    };
    for (const auto& [path, quoted] : cases)
        EXPECT_EQ(QuotedIfSpaced(path), quoted) << path.size();
}

}  // namespace
}  // namespace va
