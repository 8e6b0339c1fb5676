#pragma once
// Where the blocks of bzip2 data begin.  A block, and the end of a stream,
// starts with a 48-bit signature at any bit offset (the blocks are not byte
// aligned); finding them lets the blocks be decoded independently.  Bits
// are numbered from the most significant bit of the first byte.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace va::bzip2 {

inline constexpr std::uint64_t kBlockMagic = 0x314159265359;
inline constexpr std::uint64_t kEndMagic = 0x177245385090;
inline constexpr unsigned kMagicBits = 48;
inline constexpr unsigned kCrcBits = 32;

enum class MarkerKind { block, end_of_stream };

struct Marker {
    std::uint64_t bit = 0;
    MarkerKind kind = MarkerKind::block;
    friend bool operator==(const Marker&, const Marker&) = default;
};

// The first signature that begins at or after bit `from` and lies wholly
// inside `data`; none when there is no such signature.
std::optional<Marker> find_marker(std::span<const unsigned char> data, std::uint64_t from);

// `count` (1 to 56) bits from bit `at`, the first one most significant;
// the caller keeps them inside `data`.
std::uint64_t read_bits(std::span<const unsigned char> data, std::uint64_t at, unsigned count);

// Fills `out` with the bits from `at` on, shifted to start on a byte
// boundary; bits beyond `end` are zero.  Returns the bytes written.
std::size_t copy_bits(std::span<const unsigned char> data, std::uint64_t at, std::uint64_t end,
                      std::span<unsigned char> out);

}  // namespace va::bzip2
