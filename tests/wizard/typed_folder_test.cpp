// The check of a typed folder: the real shell functions and the real current
// directory, and a stand-in directory for the failures it must report.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine_journal/scratch_folder.h"
#include "wizard/typed_folder.h"

namespace va {
namespace {

std::wstring CurrentDirectoryNow()
{
    wchar_t buffer[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, buffer);
    return buffer;
}

// Runs the test in a scratch current directory and puts the old one back.
class TypedFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = CurrentDirectoryNow();
        ASSERT_TRUE(::CreateDirectoryW((scratch_ / L"Start Menu").c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW((scratch_ / L"Start Menu\\Programs").c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW((scratch_ / L"work").c_str(), nullptr));
        ASSERT_TRUE(::SetCurrentDirectoryW((scratch_ / L"work").c_str()));
    }
    void TearDown() override { ::SetCurrentDirectoryW(previous_.c_str()); }

    std::wstring Work() const { return scratch_ / L"work"; }
    std::wstring RootBase() const { return scratch_ / L"Start Menu"; }

    test::ScratchFolder scratch_;
    std::wstring previous_;
};

struct Case {
    std::wstring text;
    DWORD error;
    std::wstring folder;  // when accepted
};

void Check(const std::vector<Case>& cases, const std::optional<std::wstring>& rootBase)
{
    for (const auto& c : cases) {
        const TypedFolder typed = CheckTypedFolder(c.text, rootBase);
        EXPECT_EQ(typed.error, c.error) << c.text;
        if (c.error == 0) {
            EXPECT_EQ(typed.folder, c.folder) << c.text;
        }
    }
}

TEST_F(TypedFolderTest, QualifiesAPlainText)
{
    const std::wstring longest = L"C:\\" + std::wstring(256, L'x');  // 259 characters
    Check({
              {L"C:\\New Folder\\Deeper", 0, L"C:\\New Folder\\Deeper"},
              {L"  C:\\New Folder\\  ", 0, L"C:\\New Folder"},
              {L"D:", 0, L"D:\\"},
              {L"D:\\", 0, L"D:\\"},
              {L"sub\\folder", 0, Work() + L"\\sub\\folder"},
              {L"", 0, Work()},
              {L"   ", 0, Work()},
              {L"C:\\a\\..\\b", 0, L"C:\\b"},
              {longest, 0, longest},
              {longest + L"x", kTypedFolderTooLong, {}},
              {std::wstring(400, L'y'), kTypedFolderTooLong, {}},
              {L"C:\\Apps\\a*b", ERROR_BAD_PATHNAME, {}},
              {L"C:\\Apps\\a?b", ERROR_BAD_PATHNAME, {}},
              {L"*", ERROR_BAD_PATHNAME, {}},
              {L"C:\\Apps\\a|b", ERROR_BAD_PATHNAME, {}},
          },
          std::nullopt);
    EXPECT_FALSE(test::Exists(L"C:\\New Folder")) << "the check creates nothing";
    EXPECT_EQ(CurrentDirectoryNow(), Work());
}

TEST_F(TypedFolderTest, QualifiesARelativeTextInTheRootBaseAndRefusesWhatLiesOutside)
{
    Check({
              {L"Programs\\Maker\\Trelvane 7", 0, RootBase() + L"\\Programs\\Maker\\Trelvane 7"},
              {L"Programs", 0, RootBase() + L"\\Programs"},
              {RootBase() + L"\\Programs\\X", 0, RootBase() + L"\\Programs\\X"},
              {L"", ERROR_BAD_PATHNAME, {}},  // the current directory lies outside
              {L"..\\work", ERROR_BAD_PATHNAME, {}},
              {L"C:\\Elsewhere", ERROR_BAD_PATHNAME, {}},
              {RootBase() + L" Other\\X", ERROR_BAD_PATHNAME, {}},  // a longer name is not inside
              {L"Programs\\a*b", ERROR_BAD_PATHNAME, {}},
          },
          RootBase());
    EXPECT_EQ(CurrentDirectoryNow(), Work()) << "the current directory is put back";
}

TEST_F(TypedFolderTest, AMissingRootBaseIsTheSystemsErrorAndChangesNothing)
{
    const TypedFolder typed = CheckTypedFolder(L"Programs", scratch_ / L"no such folder");
    EXPECT_TRUE(typed.error == ERROR_FILE_NOT_FOUND || typed.error == ERROR_PATH_NOT_FOUND) << typed.error;
    EXPECT_EQ(CurrentDirectoryNow(), Work());
}

// A current directory whose calls fail on demand and that records every
// change.
class FakeDirectory final : public CurrentDirectory {
public:
    DWORD Get(std::wstring& folder) override
    {
        if (getError)
            return getError;
        folder = current;
        return 0;
    }
    DWORD Set(const std::wstring& folder) override
    {
        changes.push_back(folder);
        if (setError)
            return setError;
        current = folder;
        return 0;
    }

    std::wstring current = L"C:\\windows";
    DWORD getError = 0;
    DWORD setError = 0;
    std::vector<std::wstring> changes;
};

TEST(TypedFolder, CurrentDirectoryFailuresAreTheirOwnErrors)
{
    FakeDirectory unreadable;
    unreadable.getError = ERROR_ACCESS_DENIED;
    EXPECT_EQ(CheckTypedFolder(L"", std::nullopt, unreadable).error, ERROR_ACCESS_DENIED);
    EXPECT_EQ(CheckTypedFolder(L"Programs", L"C:\\SM", unreadable).error, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(unreadable.changes.empty());

    FakeDirectory unchangeable;
    unchangeable.setError = ERROR_SHARING_VIOLATION;
    EXPECT_EQ(CheckTypedFolder(L"Programs", L"C:\\SM", unchangeable).error, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(unchangeable.changes, std::vector<std::wstring>{L"C:\\SM"});
}

TEST(TypedFolder, TheRootBaseIsCurrentForTheOneQualificationAndThenPutBack)
{
    FakeDirectory directory;
    const std::wstring windows = directory.current;
    CheckTypedFolder(L"C:\\Elsewhere", L"C:\\windows\\system32", directory);
    EXPECT_EQ(directory.changes, (std::vector<std::wstring>{L"C:\\windows\\system32", windows}));
    EXPECT_EQ(directory.current, windows);
}

}  // namespace
}  // namespace va
