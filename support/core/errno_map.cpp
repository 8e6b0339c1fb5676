#include "support/core/errno_map.h"

#include <algorithm>
#include <iterator>

namespace va {
namespace {

struct Row {
    int number;
    std::uint32_t code;
};

// Sorted by number.  The numbers are the runtime library's, including its
// socket-style extensions from 100 on.
constexpr Row kToWindows[] = {
    {0, 0},         {1, 5},         {2, 3},         {4, 995},       {8, 11},
    {9, 10009},     {11, 1237},     {12, 8},        {13, 5},        {14, 10014},
    {16, 170},      {17, 183},      {18, 17},       {22, 87},       {23, 4},
    {24, 4},        {28, 112},      {32, 109},      {36, 32},       {38, 111},
    {40, 1},        {41, 145},      {42, 582},      {100, 10048},   {101, 10049},
    {102, 10047},   {103, 10037},   {105, 995},     {106, 10053},   {107, 10061},
    {108, 10054},   {109, 10039},   {110, 10065},   {112, 10036},   {113, 10056},
    {114, 10062},   {115, 10040},   {116, 10050},   {117, 10052},   {118, 10051},
    {119, 8},       {123, 10042},   {126, 10057},   {128, 10038},   {130, 10045},
    {135, 10043},   {136, 10041},   {138, 10060},   {140, 997},
};

constexpr bool Sorted()
{
    for (size_t i = 1; i < std::size(kToWindows); ++i)
        if (kToWindows[i - 1].number >= kToWindows[i].number)
            return false;
    return true;
}
static_assert(Sorted());

}  // namespace

std::optional<ErrnoTarget> MapErrno(int number) noexcept
{
    switch (number) {
    case 33:  // EDOM
    case 34:  // ERANGE
        return ErrnoTarget{ErrnoTarget::Kind::ProgramString, kStringImproperArgument};
    case 129:  // ENOTSUP
        return ErrnoTarget{ErrnoTarget::Kind::ProgramString, kStringUnsupportedOperation};
    default:
        break;
    }
    const auto* end = std::end(kToWindows);
    const auto* row = std::lower_bound(std::begin(kToWindows), end, number,
                                       [](const Row& r, int n) { return r.number < n; });
    if (row == end || row->number != number)
        return std::nullopt;
    return ErrnoTarget{ErrnoTarget::Kind::WindowsCode, row->code};
}

}  // namespace va
