#pragma once
// Shared by the native and the Windows build: the bzip2 chain must work in
// both, with the same library sources.

#include <bzlib.h>
#include <gtest/gtest.h>

#include <boost/iostreams/copy.hpp>
#include <boost/iostreams/device/array.hpp>
#include <boost/iostreams/device/back_inserter.hpp>
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace chain_test {

inline std::vector<char> Compress(const std::string& text)
{
    std::vector<char> out(text.size() + text.size() / 100 + 600);
    unsigned int length = static_cast<unsigned int>(out.size());
    const int rc = BZ2_bzBuffToBuffCompress(out.data(), &length, const_cast<char*>(text.data()),
                                            static_cast<unsigned int>(text.size()), 9, 0, 0);
    EXPECT_EQ(rc, BZ_OK);
    out.resize(length);
    return out;
}

inline std::string Decompress(const std::vector<char>& compressed)
{
    namespace io = boost::iostreams;
    std::string result;
    io::filtering_ostream chain;
    chain.push(io::bzip2_decompressor(), 4096);
    chain.push(io::back_inserter(result), 4096);
    io::array_source source(compressed.data(), compressed.size());
    io::copy(source, chain, 4096);
    return result;
}

}  // namespace chain_test

TEST(Bzip2Chain, DecompressesThroughTheBoostFilter)
{
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + std::to_string(i * 7919 % 1000) + "\n";
    EXPECT_EQ(chain_test::Decompress(chain_test::Compress(text)), text);
}

TEST(Bzip2Chain, DamagedStreamRaisesBzip2Error)
{
    std::vector<char> data = chain_test::Compress(std::string(5000, 'x') + "tail");
    data[data.size() / 2] ^= 0x55;
    data[data.size() / 2 + 1] ^= 0x55;
    EXPECT_THROW(chain_test::Decompress(data), boost::iostreams::bzip2_error);
}
