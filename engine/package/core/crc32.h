#pragma once
// The reflected CRC-32 of zlib and IEEE 802.3 (polynomial 0x04C11DB7).

#include <cstddef>
#include <cstdint>

namespace va {

class Crc32 {
public:
    void update(const void* data, std::size_t length) noexcept;
    std::uint32_t value() const noexcept { return ~state_; }

private:
    std::uint32_t state_ = 0xFFFFFFFFu;
};

std::uint32_t crc32_of(const void* data, std::size_t length) noexcept;

}  // namespace va
