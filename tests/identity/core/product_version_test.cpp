#include <gtest/gtest.h>

#include "identity/core/product_version.h"

namespace {

using va::PackVersion;
using va::ProductVersion;

struct PackCase {
    std::uint16_t major, minor, build, revision;
    ProductVersion packed;
};

TEST(ProductVersion, PacksMajorIntoTheTopBits)
{
    const PackCase cases[] = {
        {7, 8, 7, 1, 0x0007000800070001ull},
        {7, 10, 0, 0, 0x0007000A00000000ull},
        {7, 9, 65535, 65535, 0x00070009FFFFFFFFull},
        {0, 0, 0, 0, 0},
        {65535, 65535, 65535, 65535, 0xFFFFFFFFFFFFFFFFull},
        {0x8000, 0, 0, 0, 0x8000000000000000ull},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PackVersion(c.major, c.minor, c.build, c.revision), c.packed)
            << c.major << '.' << c.minor << '.' << c.build << '.' << c.revision;
    }
}

TEST(ProductVersion, PackedFromTheTwoResourceWordsMatchesComponents)
{
    EXPECT_EQ(PackVersion(std::uint32_t{0x00070008}, std::uint32_t{0x00070001}), PackVersion(7, 8, 7, 1));
    EXPECT_EQ(PackVersion(std::uint32_t{0xFFFF0000}, std::uint32_t{0x0000FFFF}),
              PackVersion(65535, 0, 0, 65535));
}

TEST(ProductVersion, ComparesAsUnsignedNumbers)
{
    struct Order {
        ProductVersion lower, higher;
    };
    const Order cases[] = {
        {PackVersion(7, 9, 65535, 65535), PackVersion(7, 10, 0, 0)},
        {PackVersion(7, 8, 7, 0), PackVersion(7, 8, 7, 1)},
        {PackVersion(7, 8, 7, 1), PackVersion(7, 8, 7, 2)},
        {PackVersion(7, 8, 7, 1), PackVersion(7, 9, 0, 0)},
        {PackVersion(6, 20, 0, 0), PackVersion(7, 8, 7, 1)},
        {PackVersion(7, 8, 0, 65535), PackVersion(7, 8, 1, 0)},
        // Major 0x8000 sets the sign bit: still above every smaller major.
        {PackVersion(0x7FFF, 65535, 65535, 65535), PackVersion(0x8000, 0, 0, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_LT(c.lower, c.higher) << std::hex << c.lower << " vs " << c.higher;
        EXPECT_GT(c.higher, c.lower);
    }
}

}  // namespace
