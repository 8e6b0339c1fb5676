// Folders a standard user may write, replaced by links after the
// installation, and a data file replaced by a second name of another file:
// the uninstaller deletes nothing through them, names each and ends with
// 1603; what it reached without a link it removes as usual.

#include <windows.h>

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "support/utf8_text.h"
#include "tests/common/host_links.h"
#include "tests/common/remove_tree.h"
#include "tests/uninstaller/uninstall_fixture.h"

namespace va::test {
namespace {

using testing::HasSubstr;

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every file below `folder`, relative to it.
void ListFiles(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& files)
{
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(folder + L"\\" + name, prefix + name + L"\\", files);
        else
            files.push_back(prefix + name);
    } while (::FindNextFileW(find.get(), &found));
}

// A copy of `folder`'s files at `victims`: the same names, other files.
std::vector<std::wstring> PlantVictims(const std::wstring& folder, const std::wstring& victims)
{
    std::vector<std::wstring> names;
    ListFiles(folder, {}, names);
    std::vector<std::wstring> planted;
    for (const std::wstring& name : names) {
        const std::wstring victim = victims + L"\\" + name;
        for (std::size_t at = victims.size() + 1; (at = victim.find(L'\\', at)) != std::wstring::npos; ++at)
            ::CreateDirectoryW(victim.substr(0, at).c_str(), nullptr);
        ::CreateDirectoryW(victims.c_str(), nullptr);
        UniqueFile made(::CreateFileW(victim.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (made)
            planted.push_back(victim);
    }
    return planted;
}

class UninstallThroughLinks : public UninstallTest {
protected:
    void SetUp() override
    {
        UninstallTest::SetUp();
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        victims_ = std::wstring(temp) + L"uninstaller_victims";
        RemoveTree(victims_);
        ::CreateDirectoryW(victims_.c_str(), nullptr);
    }
    void TearDown() override
    {
        for (const auto& [link, moved] : replaced_) {
            RemoveFolderLink(link);
            ::MoveFileW(moved.c_str(), link.c_str());
        }
        RemoveTree(victims_);
        UninstallTest::TearDown();
    }

    // Moves `folder` aside and puts a link to a folder of victims in its
    // place; the victims, or nothing when no link could be made.
    std::vector<std::wstring> ReplaceByLink(const std::wstring& folder, const std::wstring& name)
    {
        const std::wstring target = victims_ + L"\\" + name;
        std::vector<std::wstring> planted = PlantVictims(folder, target);
        const std::wstring moved = folder + L".moved";
        if (!::MoveFileW(folder.c_str(), moved.c_str()))
            return {};
        replaced_.push_back({folder, moved});
        if (!MakeFolderLink(folder, target))
            return {};
        return planted;
    }

    std::wstring victims_;
    std::vector<std::pair<std::wstring, std::wstring>> replaced_;
};

TEST_F(UninstallThroughLinks, NothingIsDeletedThroughALinkAndEachLinkIsNamed)
{
    const DemoInstallation d = InstallDemo();
    std::vector<std::wstring> victims = ReplaceByLink(d.dataFolder, L"data");
    if (victims.empty())
        GTEST_SKIP() << "no folder link could be made here: neither the system (CreateSymbolicLinkW) nor, under "
                        "Wine, the host's ln";
    for (const std::wstring& v : ReplaceByLink(d.samplesFolder, L"samples"))
        victims.push_back(v);
    ASSERT_GE(victims.size(), 6u) << "the demo's shared folders hold fewer files than expected";

    // A second name of a file outside the product's folders, where the
    // installation put a data file.
    const std::wstring secondName = d.dataFiles.back();
    const std::wstring linked = victims_ + L"\\linked.bmp";
    { UniqueFile made(::CreateFileW(linked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)); }
    ASSERT_TRUE(::DeleteFileW(secondName.c_str()));
    ASSERT_TRUE(::CreateHardLinkW(secondName.c_str(), linked.c_str(), nullptr));
    ::SetFileAttributesW(linked.c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(RunQuietly(d, L"/purge"), 1603u) << RunLogText();

    std::size_t deleted = 0;
    for (const std::wstring& victim : victims)
        if (!Exists(victim)) {
            ++deleted;
            ADD_FAILURE() << "deleted through a link: " << Utf8(victim);
        }
    RecordProperty("victims", static_cast<int>(victims.size()));
    RecordProperty("deleted", static_cast<int>(deleted));
    EXPECT_TRUE(Exists(secondName)) << "a file with two names is left";
    EXPECT_EQ(::GetFileAttributesW(linked.c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))
        << "the other name's attributes are not touched";
    const std::string log = RunLogText();
    EXPECT_THAT(log, HasSubstr("(through a link: " + Utf8(d.dataFolder) + ")"));
    EXPECT_THAT(log, HasSubstr("(through a link: " + Utf8(d.samplesFolder) + ")"));
    EXPECT_THAT(log, HasSubstr("(through a link: " + Utf8(secondName) + ")"));
    // What was reached without a link went as usual.
    EXPECT_FALSE(Exists(d.mainProgram));
    ::SetFileAttributesW(linked.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(secondName.c_str());
}

}  // namespace
}  // namespace va::test
