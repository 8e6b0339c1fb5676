#pragma once
// Four 16-bit components packed into 64 bits, major first: the layout of a
// version resource's file version.  Compared as unsigned numbers.

#include <cstdint>

namespace va {

using ProductVersion = std::uint64_t;

constexpr ProductVersion PackVersion(std::uint16_t major, std::uint16_t minor, std::uint16_t build,
                                     std::uint16_t revision) noexcept
{
    return (ProductVersion{major} << 48) | (ProductVersion{minor} << 32) |
           (ProductVersion{build} << 16) | ProductVersion{revision};
}

constexpr ProductVersion PackVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant) noexcept
{
    return (ProductVersion{mostSignificant} << 32) | leastSignificant;
}

}  // namespace va
