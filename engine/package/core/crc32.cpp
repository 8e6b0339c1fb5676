#include "engine/package/core/crc32.h"

#include <array>

namespace va {
namespace {

// Eight tables: table k gives the CRC of a byte followed by k zero bytes,
// so eight bytes are folded in with eight look-ups and no dependency
// between them (every extracted file is read back through this).
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

const Tables& CrcTables() noexcept
{
    static const Tables tables = [] {
        Tables t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
            t[0][i] = c;
        }
        for (std::uint32_t i = 0; i < 256; ++i)
            for (std::size_t k = 1; k < 8; ++k)
                t[k][i] = t[0][t[k - 1][i] & 0xFFu] ^ (t[k - 1][i] >> 8);
        return t;
    }();
    return tables;
}

}  // namespace

void Crc32::update(const void* data, std::size_t length) noexcept
{
    const Tables& t = CrcTables();
    const auto* p = static_cast<const unsigned char*>(data);
    std::uint32_t c = state_;
    for (; length >= 8; length -= 8, p += 8) {
        // The bytes assembled one by one: the same on any byte order.
        const std::uint32_t low = c ^ (std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                                       std::uint32_t{p[3]} << 24);
        c = t[7][low & 0xFFu] ^ t[6][(low >> 8) & 0xFFu] ^ t[5][(low >> 16) & 0xFFu] ^ t[4][low >> 24] ^
            t[3][p[4]] ^ t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    }
    for (; length != 0; --length, ++p)
        c = t[0][(c ^ *p) & 0xFFu] ^ (c >> 8);
    state_ = c;
}

std::uint32_t crc32_of(const void* data, std::size_t length) noexcept
{
    Crc32 crc;
    crc.update(data, length);
    return crc.value();
}

}  // namespace va
