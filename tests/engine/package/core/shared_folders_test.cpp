#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "engine/package/core/shared_folders.h"

namespace {

struct World {
    std::set<std::wstring> folders;
    std::vector<std::wstring> granted;
    std::wstring failing;  // status of this path raises

    va::FolderStatus status(const std::wstring& p) const
    {
        if (p == failing)
            throw std::runtime_error("status");
        return folders.count(p) ? va::FolderStatus::folder : va::FolderStatus::not_found;
    }
};

va::SharedFolderList MakeList()
{
    return va::SharedFolderList([](const std::wstring& a, const std::wstring& b) { return a == b; });
}

}  // namespace

TEST(SharedFolders, ListedOnce)
{
    va::SharedFolderList list = MakeList();
    list.mark_shared(L"C:\\ProgramData\\Vantaro");
    list.mark_shared(L"C:\\ProgramData\\Vantaro\\Trelvane 7");
    list.mark_shared(L"C:\\ProgramData\\Vantaro");
    ASSERT_EQ(list.records().size(), 2u);
}

TEST(SharedFolders, GrantedOnceForTwoFilesBelowTheSameFolder)
{
    World world;
    world.folders = {L"C:\\", L"C:\\ProgramData", L"C:\\ProgramData\\Vantaro", L"C:\\ProgramData\\Vantaro\\Trelvane 7",
                     L"C:\\Users\\Public\\Desktop"};
    va::SharedFolderList list = MakeList();
    list.mark_shared(L"C:\\ProgramData\\Vantaro");
    list.mark_shared(L"C:\\ProgramData\\Vantaro\\Trelvane 7");
    list.mark_shared(L"C:\\Users\\Public\\Desktop\\Never Used");
    auto status = [&](const std::wstring& p) { return world.status(p); };
    auto grant = [&](const std::wstring& p) { world.granted.push_back(p); };

    list.apply_rights(L"C:\\ProgramData\\Vantaro\\Trelvane 7", status, grant);
    list.apply_rights(L"C:\\ProgramData\\Vantaro\\Trelvane 7", status, grant);
    list.apply_rights(L"C:\\Users\\Public\\Desktop", status, grant);
    EXPECT_EQ(world.granted, (std::vector<std::wstring>{L"C:\\ProgramData\\Vantaro",
                                                        L"C:\\ProgramData\\Vantaro\\Trelvane 7"}));
    EXPECT_TRUE(list.records()[0].done);
    EXPECT_TRUE(list.records()[1].done);
    EXPECT_FALSE(list.records()[2].done);
}

TEST(SharedFolders, FolderNotYetThereIsGrantedLater)
{
    World world;
    world.folders = {L"C:\\", L"C:\\ProgramData"};
    va::SharedFolderList list = MakeList();
    list.mark_shared(L"C:\\ProgramData\\Vantaro");
    auto status = [&](const std::wstring& p) { return world.status(p); };
    auto grant = [&](const std::wstring& p) { world.granted.push_back(p); };
    list.apply_rights(L"C:\\ProgramData\\Vantaro\\x", status, grant);
    EXPECT_TRUE(world.granted.empty());
    world.folders.insert(L"C:\\ProgramData\\Vantaro");
    world.folders.insert(L"C:\\ProgramData\\Vantaro\\x");
    list.apply_rights(L"C:\\ProgramData\\Vantaro\\x", status, grant);
    EXPECT_EQ(world.granted, std::vector<std::wstring>{L"C:\\ProgramData\\Vantaro"});
}

TEST(SharedFolders, ErrorsEndTheWalkSilently)
{
    World world;
    world.folders = {L"C:\\", L"C:\\A", L"C:\\A\\B"};
    world.failing = L"C:\\A";
    va::SharedFolderList list = MakeList();
    list.mark_shared(L"C:\\A");
    auto status = [&](const std::wstring& p) { return world.status(p); };
    auto grant = [&](const std::wstring& p) { world.granted.push_back(p); };
    EXPECT_NO_THROW(list.apply_rights(L"C:\\A\\B", status, grant));
    EXPECT_TRUE(world.granted.empty());

    world.failing.clear();
    auto failingGrant = [&](const std::wstring&) { throw std::system_error(5, std::system_category()); };
    EXPECT_NO_THROW(list.apply_rights(L"C:\\A\\B", status, failingGrant));
}

