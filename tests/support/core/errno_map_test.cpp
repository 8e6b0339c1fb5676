#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "support/core/errno_map.h"

namespace {

using va::ErrnoTarget;
using Kind = ErrnoTarget::Kind;

// Every mapped number; any number not listed has no mapping.
const std::map<int, ErrnoTarget> kExpected = {
    {0, {Kind::WindowsCode, 0}},         {1, {Kind::WindowsCode, 5}},
    {2, {Kind::WindowsCode, 3}},         {4, {Kind::WindowsCode, 995}},
    {8, {Kind::WindowsCode, 11}},        {9, {Kind::WindowsCode, 10009}},
    {11, {Kind::WindowsCode, 1237}},     {12, {Kind::WindowsCode, 8}},
    {13, {Kind::WindowsCode, 5}},        {14, {Kind::WindowsCode, 10014}},
    {16, {Kind::WindowsCode, 170}},      {17, {Kind::WindowsCode, 183}},
    {18, {Kind::WindowsCode, 17}},       {22, {Kind::WindowsCode, 87}},
    {23, {Kind::WindowsCode, 4}},        {24, {Kind::WindowsCode, 4}},
    {28, {Kind::WindowsCode, 112}},      {32, {Kind::WindowsCode, 109}},
    {33, {Kind::ProgramString, 61477}},  {34, {Kind::ProgramString, 61477}},
    {36, {Kind::WindowsCode, 32}},       {38, {Kind::WindowsCode, 111}},
    {40, {Kind::WindowsCode, 1}},        {41, {Kind::WindowsCode, 145}},
    {42, {Kind::WindowsCode, 582}},      {100, {Kind::WindowsCode, 10048}},
    {101, {Kind::WindowsCode, 10049}},   {102, {Kind::WindowsCode, 10047}},
    {103, {Kind::WindowsCode, 10037}},   {105, {Kind::WindowsCode, 995}},
    {106, {Kind::WindowsCode, 10053}},   {107, {Kind::WindowsCode, 10061}},
    {108, {Kind::WindowsCode, 10054}},   {109, {Kind::WindowsCode, 10039}},
    {110, {Kind::WindowsCode, 10065}},   {112, {Kind::WindowsCode, 10036}},
    {113, {Kind::WindowsCode, 10056}},   {114, {Kind::WindowsCode, 10062}},
    {115, {Kind::WindowsCode, 10040}},   {116, {Kind::WindowsCode, 10050}},
    {117, {Kind::WindowsCode, 10052}},   {118, {Kind::WindowsCode, 10051}},
    {119, {Kind::WindowsCode, 8}},       {123, {Kind::WindowsCode, 10042}},
    {126, {Kind::WindowsCode, 10057}},   {128, {Kind::WindowsCode, 10038}},
    {129, {Kind::ProgramString, 61473}}, {130, {Kind::WindowsCode, 10045}},
    {135, {Kind::WindowsCode, 10043}},   {136, {Kind::WindowsCode, 10041}},
    {138, {Kind::WindowsCode, 10060}},   {140, {Kind::WindowsCode, 997}},
};

TEST(ErrnoMap, EveryNumberMapsAsListed)
{
    for (int number = -3; number <= 300; ++number) {
        SCOPED_TRACE(number);
        const auto mapped = va::MapErrno(number);
        const auto expected = kExpected.find(number);
        if (expected == kExpected.end()) {
            EXPECT_FALSE(mapped.has_value());
        } else {
            ASSERT_TRUE(mapped.has_value());
            EXPECT_EQ(*mapped, expected->second);
        }
    }
    EXPECT_FALSE(va::MapErrno(INT_MIN).has_value());
    EXPECT_FALSE(va::MapErrno(INT_MAX).has_value());
}

}  // namespace
