#include "engine/package/core/bzip2_block_finder.h"

#include <algorithm>
#include <array>

namespace va::bzip2 {
namespace {

constexpr std::uint64_t kMask48 = (std::uint64_t{1} << kMagicBits) - 1;

// A signature that begins at bit s (0..7) of byte i fills bytes i+1 and
// i+2 with fixed values.  These tables say, for a byte value, which
// offsets of which signature it could belong to (bit s: block, bit 8+s:
// end of stream); only where both bytes agree are the 48 bits compared.
struct Filter {
    std::array<std::uint16_t, 256> second{};
    std::array<std::uint16_t, 256> third{};
};

constexpr Filter make_filter()
{
    Filter f;
    const std::uint64_t magics[2] = {kBlockMagic, kEndMagic};
    for (unsigned m = 0; m < 2; ++m)
        for (unsigned s = 0; s < 8; ++s) {
            // Bits s..s+47 of a 64-bit window starting at byte i hold the
            // signature; byte i+1 is bits 8..15, byte i+2 bits 16..23.
            const std::uint64_t window = magics[m] << (16 - s);
            f.second[(window >> 48) & 0xFF] |= static_cast<std::uint16_t>(1u << (m * 8 + s));
            f.third[(window >> 40) & 0xFF] |= static_cast<std::uint16_t>(1u << (m * 8 + s));
        }
    return f;
}

constexpr Filter kFilter = make_filter();

std::uint64_t load_window(std::span<const unsigned char> data, std::size_t i)
{
    // Eight bytes from i, big-endian, zeros past the end.
    std::uint64_t w = 0;
    const std::size_t n = std::min<std::size_t>(8, data.size() - i);
    for (std::size_t k = 0; k < 8; ++k)
        w = (w << 8) | (k < n ? data[i + k] : 0u);
    return w;
}

}  // namespace

std::optional<Marker> find_marker(std::span<const unsigned char> data, std::uint64_t from)
{
    const std::uint64_t totalBits = std::uint64_t{data.size()} * 8;
    if (totalBits < kMagicBits || from > totalBits - kMagicBits)
        return std::nullopt;
    const std::uint64_t last = totalBits - kMagicBits;  // the last bit a signature may begin at
    // Byte i covers starts 8i..8i+7; bytes i+1 and i+2 must exist.
    for (std::size_t i = static_cast<std::size_t>(from / 8); i + 2 < data.size(); ++i) {
        std::uint16_t candidates = kFilter.second[data[i + 1]] & kFilter.third[data[i + 2]];
        if (candidates == 0)
            continue;
        const std::uint64_t window = load_window(data, i);
        for (unsigned s = 0; s < 8; ++s) {
            const std::uint64_t bit = std::uint64_t{i} * 8 + s;
            if (bit < from || bit > last)
                continue;
            const std::uint64_t bits = (window >> (16 - s)) & kMask48;
            if ((candidates >> s) & 1u && bits == kBlockMagic)
                return Marker{bit, MarkerKind::block};
            if ((candidates >> (8 + s)) & 1u && bits == kEndMagic)
                return Marker{bit, MarkerKind::end_of_stream};
        }
    }
    return std::nullopt;
}

std::uint64_t read_bits(std::span<const unsigned char> data, std::uint64_t at, unsigned count)
{
    const std::size_t i = static_cast<std::size_t>(at / 8);
    const unsigned s = static_cast<unsigned>(at % 8);
    const std::uint64_t window = load_window(data, i);
    return (window << s) >> (64 - count);
}

std::size_t copy_bits(std::span<const unsigned char> data, std::uint64_t at, std::uint64_t end,
                      std::span<unsigned char> out)
{
    if (end <= at)
        return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), (end - at + 7) / 8));
    const std::size_t i = static_cast<std::size_t>(at / 8);
    const unsigned s = static_cast<unsigned>(at % 8);
    if (s == 0) {
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(i), n, out.begin());
    } else {
        for (std::size_t k = 0; k < n; ++k) {
            const unsigned hi = data[i + k];
            const unsigned lo = i + k + 1 < data.size() ? data[i + k + 1] : 0u;
            out[k] = static_cast<unsigned char>((hi << s) | (lo >> (8 - s)));
        }
    }
    // Bits past `end` in the last byte are not the block's.
    const std::uint64_t lastBits = (end - at) % 8;
    if (n == (end - at + 7) / 8 && lastBits != 0)
        out[n - 1] &= static_cast<unsigned char>(0xFF00u >> lastBits);
    return n;
}

}  // namespace va::bzip2
