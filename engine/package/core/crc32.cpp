#include "engine/package/core/crc32.h"

#include <array>

namespace va {
namespace {

using Table = std::array<std::uint32_t, 256>;

const Table& CrcTable() noexcept
{
    static const Table table = [] {
        Table t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
            t[i] = c;
        }
        return t;
    }();
    return table;
}

}  // namespace

void Crc32::update(const void* data, std::size_t length) noexcept
{
    const Table& table = CrcTable();
    const auto* p = static_cast<const unsigned char*>(data);
    std::uint32_t c = state_;
    for (std::size_t i = 0; i < length; ++i)
        c = table[(c ^ p[i]) & 0xFFu] ^ (c >> 8);
    state_ = c;
}

std::uint32_t crc32_of(const void* data, std::size_t length) noexcept
{
    Crc32 crc;
    crc.update(data, length);
    return crc.value();
}

}  // namespace va
