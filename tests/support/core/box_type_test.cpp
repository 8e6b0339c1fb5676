#include <gtest/gtest.h>

#include "support/core/box_type.h"

namespace {

TEST(BoxType, IconFollowsTheButtonSetUnlessOneIsGiven)
{
    struct Case {
        std::uint32_t type;
        bool rtl;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0x0, false, 0x30},           // MB_OK: exclamation
        {0x1, false, 0x31},           // MB_OKCANCEL
        {0x2, false, 0x2},            // MB_ABORTRETRYIGNORE: unchanged
        {0x3, false, 0x23},           // MB_YESNOCANCEL: question
        {0x4, false, 0x24},           // MB_YESNO
        {0x5, false, 0x5},            // MB_RETRYCANCEL
        {0x6, false, 0x6},            // MB_CANCELTRYCONTINUE
        {0x40, false, 0x40},          // MB_OK | MB_ICONINFORMATION: kept
        {0x14, false, 0x14},          // MB_YESNO | MB_ICONERROR: kept
        {0x35, false, 0x35},          // MB_RETRYCANCEL | MB_ICONEXCLAMATION
        {0x12010, false, 0x12010},    // the start-up error box
        {0x4, true, 0x100024},        // right to left adds MB_RTLREADING
        {0x40, true, 0x100040},
        {0x40000, false, 0x40030},    // other bits pass through
        {0x100000, false, 0x100030},  // MB_RTLREADING already asked for
    };
    for (const Case& c : cases)
        EXPECT_EQ(va::CompleteBoxType(c.type, c.rtl), c.expected) << std::hex << c.type << " rtl " << c.rtl;
}

}  // namespace
