#include <gtest/gtest.h>

#include "support/core/path_compare.h"

namespace va {
namespace {

struct PathCase {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
};

TEST(PathsEqualLexically, ComparesComponents)
{
    const PathCase cases[] = {
        {L"C:\\A\\b", L"C:\\A\\b", true},
        {L"C:\\A\\b", L"C:/A/b", true},
        {L"C:\\A\\\\b", L"C:\\A/\\/b", true},
        {L"C:\\A\\b\\", L"C:\\A\\b", true},
        {L"", L"", true},
        {L"C:\\A\\b", L"C:\\a\\b", false},  // letter case is not the comparison's business
        {L"C:\\A\\b", L"C:\\A\\bc", false},
        {L"C:\\A\\b", L"C:\\A", false},
        {L"C:\\A\\.\\b", L"C:\\A\\b", false},  // no normalisation here
        {L"\\A", L"A", false},
        {L"\\\\srv\\share", L"\\srv\\share", false},
        {L"\\\\srv\\share", L"//srv/share", true},
        {L"C:\\A", L"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathsEqualLexically(c.a, c.b), c.same) << "'" << c.a << "' vs '" << c.b << "'";
        EXPECT_EQ(PathsEqualLexically(c.b, c.a), c.same) << "'" << c.b << "' vs '" << c.a << "'";
    }
}

}  // namespace
}  // namespace va
