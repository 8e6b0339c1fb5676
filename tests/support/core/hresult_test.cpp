#include "support/core/hresult.h"

#include <gtest/gtest.h>

TEST(HresultFromWin32, PositiveCodesGoUnderTheWin32Facility)
{
    struct Case { std::int32_t code; std::uint32_t expected; };
    const Case cases[] = {
        {5, 0x80070005u},          // access denied
        {170, 0x800700AAu},        // busy
        {0x12345, 0x80072345u},    // only the low 16 bits are kept
        {0, 0u},                   // zero passes unchanged
        {static_cast<std::int32_t>(0x8000FFFFu), 0x8000FFFFu},  // already an HRESULT
    };
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<std::uint32_t>(va::HresultFromWin32(c.code)), c.expected) << c.code;
}
