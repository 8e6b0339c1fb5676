#include <gtest/gtest.h>

#include "engine/journal/same_path.h"
#include "engine/package/output_file.h"
#include "engine/placement/core/placement_policy.h"
#include "tests/common/scratch_folder.h"

TEST(SharedFolderRights, GrantedOnceEachForTwoFilesBelowTheSameFolder)
{
    va::test::ScratchFolder scratch;
    va::SharedFolderList shared(va::SamePath);
    const std::wstring vantaro = scratch / L"ProgramData\\Vantaro";
    const std::wstring product = vantaro + L"\\Trelvane 7";
    shared.mark_shared(vantaro);
    shared.mark_shared(product);
    shared.mark_shared(product + L"/");  // the same folder written otherwise
    shared.mark_shared(scratch / L"ProgramData\\Unused");
    ASSERT_EQ(shared.records().size(), 3u);

    std::vector<std::pair<std::wstring, DWORD>> grants;
    va::GrantFn grant = [&](const std::wstring& p, DWORD mask, BYTE flags) {
        EXPECT_EQ(flags, va::kSharedFolderInheritance);
        grants.emplace_back(p, mask);
        return true;
    };
    for (const wchar_t* name : {L"\\Standard.tv-lib", L"\\Metals.mat-vantaro", L"\\Textures\\Oak.jpg"}) {
        auto out = va::OpenOutputFile(product + name, L"", shared, grant);
        ASSERT_TRUE(out);
    }
    ASSERT_EQ(grants.size(), 2u);
    EXPECT_TRUE(va::SamePath(grants[0].first, vantaro));
    EXPECT_TRUE(va::SamePath(grants[1].first, product));
    EXPECT_EQ(grants[0].second, va::kSharedFolderAccess);
    EXPECT_FALSE(shared.records()[2].done);  // never received a file
}

TEST(SharedFolderRights, AFailingGrantDoesNotStopThePlacement)
{
    va::test::ScratchFolder scratch;
    va::SharedFolderList shared(va::SamePath);
    shared.mark_shared(scratch / L"Shared");
    va::GrantFn failing = [](const std::wstring&, DWORD, BYTE) -> bool {
        throw std::system_error(5, std::system_category());
    };
    EXPECT_NO_THROW(va::OpenOutputFile(scratch / L"Shared\\file.bin", L"", shared, failing));
    EXPECT_TRUE(va::test::Exists(scratch / L"Shared\\file.bin"));
}
