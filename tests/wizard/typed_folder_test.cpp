// The check of a typed folder with the shell's qualification and the
// process's real current directory.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/scratch_folder.h"
#include "wizard/core/typed_folder.h"
#include "wizard/process_folder_qualifier.h"

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
        const TypedFolder typed = CheckTypedFolder(c.text, rootBase, ProcessFolderQualifier());
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
              {L"C:\\Apps\\a*b", kTypedFolderBadPath, {}},
              {L"C:\\Apps\\a?b", kTypedFolderBadPath, {}},
              {L"*", kTypedFolderBadPath, {}},
              {L"C:\\Apps\\a|b", kTypedFolderBadPath, {}},
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
              {L"", kTypedFolderBadPath, {}},  // the current directory lies outside
              {L"..\\work", kTypedFolderBadPath, {}},
              {L"C:\\Elsewhere", kTypedFolderBadPath, {}},
              {RootBase() + L" Other\\X", kTypedFolderBadPath, {}},  // a longer name is not inside
              {L"Programs\\a*b", kTypedFolderBadPath, {}},
          },
          RootBase());
    EXPECT_EQ(CurrentDirectoryNow(), Work()) << "the current directory is put back";
}

TEST_F(TypedFolderTest, AMissingRootBaseIsTheSystemsErrorAndChangesNothing)
{
    const TypedFolder typed = CheckTypedFolder(L"Programs", scratch_ / L"no such folder", ProcessFolderQualifier());
    EXPECT_TRUE(typed.error == ERROR_FILE_NOT_FOUND || typed.error == ERROR_PATH_NOT_FOUND) << typed.error;
    EXPECT_EQ(CurrentDirectoryNow(), Work());
}

}  // namespace
}  // namespace va
