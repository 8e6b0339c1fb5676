#include <gtest/gtest.h>

#include "engine/journal/same_path.h"
#include "tests/common/scratch_folder.h"

namespace va {
namespace {

TEST(SamePath, TellsWhetherTwoPathsNameOneObject)
{
    test::ScratchFolder s;
    ASSERT_TRUE(::CreateDirectoryW((s / L"Dir").c_str(), nullptr));
    ASSERT_TRUE(test::WriteBytes(s / L"Dir\\File.txt", "x"));
    ASSERT_TRUE(test::WriteBytes(s / L"Other.txt", "y"));
    const struct {
        std::wstring a;
        std::wstring b;
        bool same;
    } cases[] = {
        {s / L"Dir\\File.txt", s / L"Dir\\File.txt", true},
        {s / L"Dir\\File.txt", s / L"Dir//File.txt", true},
        {s / L"Dir", s / L"Dir\\", true},
        {s / L"Dir\\File.txt", s / L"dir\\FILE.TXT", true},          // both exist: one object
        {s / L"Dir\\File.txt", s / L"Dir\\..\\Dir\\.\\File.txt", true},
        {s / L"Dir\\File.txt", s / L"Other.txt", false},
        {s / L"Missing\\..\\Gone.txt", s / L"Gone.txt", true},       // neither exists: normalised spelling
        {s / L"Gone.txt", s / L"GONE.txt", false},
        {s / L"Dir\\File.txt", s / L"Dir\\File.txt.bak", false},     // one missing
        {s / L"Dir", s / L"Dir\\File.txt", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SamePath(c.a, c.b), c.same) << "'" << c.a << "' vs '" << c.b << "'";
        EXPECT_EQ(SamePath(c.b, c.a), c.same) << "'" << c.b << "' vs '" << c.a << "'";
    }
}

// The cache of a run: a folder asked about before it was made is compared
// by its identity once it exists, not by the spelling it had while missing.
TEST(SamePath, TheCacheAsksAgainForAPathThatWasMissing)
{
    test::ScratchFolder s;
    SamePathCache same;
    EXPECT_FALSE(same(s / L"Shared", s / L"SHARED")) << "missing: only the spelling tells, letter case included";
    ASSERT_TRUE(::CreateDirectoryW((s / L"Shared").c_str(), nullptr));
    EXPECT_TRUE(same(s / L"Shared", s / L"SHARED")) << "made since: one folder";
    EXPECT_FALSE(same(s / L"Shared", s / L"Other"));
}

}  // namespace
}  // namespace va
