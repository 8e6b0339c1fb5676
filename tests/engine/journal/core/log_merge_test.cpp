#include <gtest/gtest.h>

#include <cwctype>
#include <list>
#include <vector>

#include "engine/journal/core/log_merge.h"

namespace va {
namespace {

LogEntry Entry(std::int32_t type, std::wstring path)
{
    LogEntry e;
    e.Type = type;
    e.Path = std::move(path);
    return e;
}

// Paths in these tests are "the same" regardless of letter case, which shows
// that the merge asks the comparison rather than comparing text itself.
bool SameIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

std::vector<std::pair<std::int32_t, std::wstring>> Summary(const std::list<LogEntry>& entries)
{
    std::vector<std::pair<std::int32_t, std::wstring>> out;
    for (const auto& e : entries)
        out.emplace_back(e.Type, e.Path);
    return out;
}

using Rows = std::vector<std::pair<std::int32_t, std::wstring>>;

struct MergeCase {
    const char* name;
    std::list<LogEntry> previous;
    std::list<LogEntry> current;
    Rows expected;
};

TEST(LogMerge, KeepsSurvivorsInFileOrderBeforeThisRun)
{
    std::vector<MergeCase> cases;
    cases.push_back({"nothing new",
                     {Entry(CreatedFolder, L"C:\\A"), Entry(InstalledFile, L"C:\\A\\f"), Entry(DirectXRuntime, L"dx")},
                     {},
                     {{CreatedFolder, L"C:\\A"}, {InstalledFile, L"C:\\A\\f"}, {DirectXRuntime, L"dx"}}});
    cases.push_back({"same file placed again",
                     {Entry(InstalledFile, L"C:\\A\\f"), Entry(InstalledFile, L"C:\\A\\old")},
                     {Entry(InstalledFile, L"c:\\a\\F")},
                     {{InstalledFile, L"C:\\A\\old"}, {InstalledFile, L"c:\\a\\F"}}});
    cases.push_back({"same path of another type survives",
                     {Entry(CreatedFolder, L"C:\\A")},
                     {Entry(InstalledFile, L"C:\\A")},
                     {{CreatedFolder, L"C:\\A"}, {InstalledFile, L"C:\\A"}}});
    cases.push_back({"singleton replaced whatever its path",
                     {Entry(ProgramShortcut, L"C:\\Old\\p.lnk"), Entry(UninstallKey, L""), Entry(FileTypes, L""),
                      Entry(DirectXRuntime, L"a"), Entry(DesktopShortcut, L"d.lnk")},
                     {Entry(ProgramShortcut, L""), Entry(UninstallKey, L""), Entry(DirectXRuntime, L"b")},
                     {{FileTypes, L""}, {DesktopShortcut, L"d.lnk"}, {ProgramShortcut, L""}, {UninstallKey, L""},
                      {DirectXRuntime, L"b"}}});
    cases.push_back({"newest of two previous singletons",
                     {Entry(UninstallShortcut, L"first"), Entry(CreatedFolder, L"C:\\A"), Entry(UninstallShortcut, L"second")},
                     {Entry(CreatedFolder, L"C:\\B")},
                     {{CreatedFolder, L"C:\\A"}, {UninstallShortcut, L"second"}, {CreatedFolder, L"C:\\B"}}});
    cases.push_back({"newest of two previous same-path files",
                     {Entry(InstalledFile, L"C:\\f"), Entry(InstalledFile, L"C:\\F")},
                     {},
                     {{InstalledFile, L"C:\\F"}}});
    for (auto& c : cases) {
        MergePreviousEntries(c.previous, c.current, SameIgnoringCase);
        EXPECT_TRUE(c.previous.empty()) << c.name;
        EXPECT_EQ(Summary(c.current), c.expected) << c.name;
    }
}

TEST(LogMerge, KeepsTheEntriesThemselves)
{
    std::list<LogEntry> previous{Entry(InstalledFile, L"C:\\kept")};
    previous.front().Detail = 3;
    previous.front().Outcome = 1;
    std::list<LogEntry> current{Entry(InstalledFile, L"C:\\new")};
    current.front().BackupPath = L"C:\\Temp\\va1.tmp";
    const LogEntry* newOne = &current.front();

    MergePreviousEntries(previous, current, SameIgnoringCase);
    ASSERT_EQ(current.size(), 2u);
    EXPECT_EQ(current.front().Detail, 3);
    EXPECT_EQ(current.front().Outcome, 1);
    EXPECT_EQ(&current.back(), newOne);  // not copied: the list only grew in front
    EXPECT_EQ(current.back().BackupPath, L"C:\\Temp\\va1.tmp");
}

}  // namespace
}  // namespace va
