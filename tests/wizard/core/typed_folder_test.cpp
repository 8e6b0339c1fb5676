// The check of a typed folder with a stand-in system: a current directory
// that fails on demand and records every change, and a lexical
// qualification.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizard/core/shell_path.h"
#include "wizard/core/typed_folder.h"

namespace va {
namespace {

constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kSharingViolation = 32;

class FakeSystem final : public FolderQualifier {
public:
    std::uint32_t GetCurrentFolder(std::wstring& folder) override
    {
        if (getError)
            return getError;
        folder = current;
        return 0;
    }
    std::uint32_t SetCurrentFolder(const std::wstring& folder) override
    {
        changes.push_back(folder);
        if (setError)
            return setError;
        current = folder;
        return 0;
    }
    std::optional<std::wstring> Qualify(const std::wstring& text) override
    {
        qualified.push_back({text, current});
        if (refuseQualify)
            return std::nullopt;
        return CombinePath(current, text);
    }

    std::wstring current = L"C:\\work";
    std::uint32_t getError = 0;
    std::uint32_t setError = 0;
    bool refuseQualify = false;
    std::vector<std::wstring> changes;
    std::vector<std::pair<std::wstring, std::wstring>> qualified;  // text, current directory then
};

struct Case {
    std::wstring text;
    std::uint32_t error;
    std::wstring folder;  // when accepted
};

void Check(const std::vector<Case>& cases, const std::optional<std::wstring>& rootBase)
{
    for (const auto& c : cases) {
        FakeSystem system;
        const TypedFolder typed = CheckTypedFolder(c.text, rootBase, system);
        EXPECT_EQ(typed.error, c.error) << c.text;
        if (c.error == 0) {
            EXPECT_EQ(typed.folder, c.folder) << c.text;
        }
        EXPECT_EQ(system.current, L"C:\\work") << c.text;
    }
}

TEST(TypedFolder, QualifiesOrRefusesAPlainText)
{
    const std::wstring longest = L"C:\\" + std::wstring(256, L'x');  // 259 characters
    Check({
              {L"C:\\New Folder\\Deeper", 0, L"C:\\New Folder\\Deeper"},
              {L"  C:\\New Folder\\  ", 0, L"C:\\New Folder"},
              {L"D:", 0, L"D:\\"},  // a drive alone is its root
              {L"D:\\", 0, L"D:\\"},
              {L"sub\\folder", 0, L"C:\\work\\sub\\folder"},
              {L"", 0, L"C:\\work"},
              {L"   ", 0, L"C:\\work"},
              {longest, 0, longest},
              {longest + L"x", kTypedFolderTooLong, {}},  // 260 characters
              {std::wstring(400, L'y'), kTypedFolderTooLong, {}},
              {L"C:\\Apps\\a*b", kTypedFolderBadPath, {}},
              {L"C:\\Apps\\a?b", kTypedFolderBadPath, {}},
              {L"*", kTypedFolderBadPath, {}},
              {L"C:\\Apps\\a|b", kTypedFolderBadPath, {}},
              {L"C:\\Apps\\a<b>", kTypedFolderBadPath, {}},
          },
          std::nullopt);
}

TEST(TypedFolder, InRelativeModeOnlyFoldersBelowTheRootBasePass)
{
    const std::wstring base = L"C:\\SM";
    Check({
              {L"Programs\\Maker\\Trelvane 7", 0, L"C:\\SM\\Programs\\Maker\\Trelvane 7"},
              {L"programs", 0, L"C:\\SM\\programs"},
              {L"c:\\sm\\Programs\\X", 0, L"c:\\sm\\Programs\\X"},  // case ignored
              {L"C:\\SM", 0, L"C:\\SM"},
              {L"", kTypedFolderBadPath, {}},  // the current directory lies outside
              {L"..\\work", kTypedFolderBadPath, {}},
              {L"C:\\Elsewhere", kTypedFolderBadPath, {}},
              {L"C:\\SM Other\\X", kTypedFolderBadPath, {}},  // a longer name is not inside
              {L"D:\\SM\\Programs", kTypedFolderBadPath, {}},
              {L"Programs\\a*b", kTypedFolderBadPath, {}},
          },
          base);
}

TEST(TypedFolder, TheRootBaseIsCurrentForTheOneQualificationAndThenPutBack)
{
    FakeSystem system;
    CheckTypedFolder(L"Programs", L"C:\\SM", system);
    EXPECT_EQ(system.changes, (std::vector<std::wstring>{L"C:\\SM", L"C:\\work"}));
    ASSERT_EQ(system.qualified.size(), 1u);
    EXPECT_EQ(system.qualified[0].second, L"C:\\SM");

    FakeSystem refusing;
    refusing.refuseQualify = true;
    EXPECT_EQ(CheckTypedFolder(L"Programs", L"C:\\SM", refusing).error, kTypedFolderBadPath);
    EXPECT_EQ(refusing.current, L"C:\\work") << "put back after a failed qualification too";

    FakeSystem plain;
    CheckTypedFolder(L"Programs", std::nullopt, plain);
    EXPECT_TRUE(plain.changes.empty()) << "without a root the current directory is left alone";
}

TEST(TypedFolder, CurrentDirectoryFailuresAreTheirOwnErrors)
{
    FakeSystem unreadable;
    unreadable.getError = kAccessDenied;
    EXPECT_EQ(CheckTypedFolder(L"", std::nullopt, unreadable).error, kAccessDenied);
    EXPECT_EQ(CheckTypedFolder(L"Programs", L"C:\\SM", unreadable).error, kAccessDenied);
    EXPECT_TRUE(unreadable.changes.empty());
    EXPECT_TRUE(unreadable.qualified.empty());

    FakeSystem unchangeable;
    unchangeable.setError = kSharingViolation;
    EXPECT_EQ(CheckTypedFolder(L"Programs", L"C:\\SM", unchangeable).error, kSharingViolation);
    EXPECT_EQ(unchangeable.changes, std::vector<std::wstring>{L"C:\\SM"});
    EXPECT_TRUE(unchangeable.qualified.empty());
}

}  // namespace
}  // namespace va
