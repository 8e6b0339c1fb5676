#include <gtest/gtest.h>

#include <string>

#include "engine/package/core/crc32.h"

TEST(Crc32, KnownValues)
{
    struct Case {
        std::string text;
        std::uint32_t crc;
    };
    const Case cases[] = {
        {"", 0x00000000u},
        {"a", 0xE8B7BE43u},
        {"123456789", 0xCBF43926u},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
        {std::string(1000, '\0'), 0x060B1780u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(va::crc32_of(c.text.data(), c.text.size()), c.crc) << c.text.size();
}

TEST(Crc32, PiecewiseEqualsWhole)
{
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += static_cast<char>(i * 31 + i / 7);
    va::Crc32 crc;
    for (std::size_t at = 0; at < text.size(); at += 333)
        crc.update(text.data() + at, std::min<std::size_t>(333, text.size() - at));
    EXPECT_EQ(crc.value(), va::crc32_of(text.data(), text.size()));
}

// Every length and alignment around the eight-byte steps, against the
// CRC computed bit by bit.
TEST(Crc32, EveryLengthAndAlignmentMatchesTheBitwiseCrc)
{
    const auto bitwise = [](const unsigned char* p, std::size_t n) {
        std::uint32_t c = 0xFFFFFFFFu;
        for (std::size_t i = 0; i < n; ++i) {
            c ^= p[i];
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        }
        return ~c;
    };
    unsigned char bytes[96];
    for (unsigned i = 0; i < sizeof bytes; ++i)
        bytes[i] = static_cast<unsigned char>(i * 167 + 13);
    for (std::size_t offset = 0; offset < 8; ++offset)
        for (std::size_t length = 0; offset + length <= sizeof bytes; ++length)
            EXPECT_EQ(va::crc32_of(bytes + offset, length), bitwise(bytes + offset, length))
                << "offset " << offset << ", length " << length;
}
