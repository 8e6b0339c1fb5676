// What the packager writes, the installer's reader accepts; what the lister
// reports, the reader would report too.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/package/core/package_extractor.h"
#include "engine/package/core/package_reading.h"
#include "tests/common/package_fixture.h"
#include "tests/tools/packager/temp_dir.h"
#include "tools/packager/manifest.h"
#include "tools/packager/package_lister.h"
#include "tools/packager/package_writer.h"

namespace {

std::string ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(Packager, PackageExtractsThroughTheReader)
{
    packager_test::TempDir dir;
    std::string big;
    for (int i = 0; i < 300000; ++i)
        big += static_cast<char>(i % 251 + (i / 1000) % 3);
    dir.write("Lang/En.dll", "english");
    dir.write("Trelvane.exe", big);
    dir.write("empty.tv-lib", "");
    dir.write("DSetup.dll", "dx");
    const std::string manifest =
        "language | <InstallPath>\\Lang | Lang/En.dll\n"
        "program | <InstallPath> | Trelvane.exe\n"
        "data | <InstallPath>\\Data | empty.tv-lib\n"
        "directx | <Temporary> | DSetup.dll\n";
    const auto entries = packager::parse_manifest(manifest, "m", dir.path());
    const auto output = dir.path() / "out.pkg";
    const packager::PackResult r = packager::write_package(entries, output, nullptr);
    EXPECT_EQ(r.entries, 4u);

    package_test::MemoryHost host;
    std::istringstream stream(ReadFile(output));
    ASSERT_TRUE(va::extract_package(stream, {L"C:\\I", L"S", L"C:\\T"}, nullptr, host));
    EXPECT_EQ(host.files.at(L"C:\\I\\Lang\\En.dll"), "english");
    EXPECT_EQ(host.files.at(L"C:\\I\\Trelvane.exe"), big);
    EXPECT_EQ(host.files.at(L"C:\\I\\Data\\empty.tv-lib"), "");
    EXPECT_EQ(host.files.at(L"C:\\T\\DSetup.dll"), "dx");

    const packager::Listing listing = packager::list_package(output, nullptr);
    EXPECT_TRUE(listing.ok());
    ASSERT_EQ(listing.entries.size(), 4u);
    EXPECT_EQ(listing.entries[1].entry.size, big.size());
    EXPECT_EQ(listing.decompressed, r.decompressed);
    EXPECT_EQ(listing.compressed, r.compressed);
}

TEST(Packager, ListerFindsDamage)
{
    packager_test::TempDir dir;
    const std::vector<package_test::FileSpec> files = {
        {L"a.bin", L"<InstallPath>", 0, std::string(5000, 'a')},
        {L"b.bin", L"<InstallPath>", 0, "bbbb"},
    };
    std::vector<va::PackageEntry> badCrc = package_test::Entries(files);
    badCrc[1].crc ^= 0x10;
    const std::string good = package_test::Archive(files);
    std::string truncated = package_test::Compress(good);
    truncated.resize(truncated.size() / 2);
    struct Case {
        const char* what;
        std::string bytes;
        std::string problem;  // empty: sound
    };
    const Case cases[] = {
        {"sound", package_test::Compress(good), ""},
        {"wrong CRC", package_test::Compress(package_test::Archive(badCrc, files)), "entry 2 (b.bin): CRC-32 mismatch"},
        {"one byte more", package_test::Compress(good + "x"), "bytes after the last entry"},
        {"one byte less", package_test::Compress(good.substr(0, good.size() - 1)), "stream ends inside entry 2"},
        {"cut bzip2", truncated, "bzip2 stream cut short"},
        {"trailing garbage", package_test::Compress(good) + "junk", "bytes after the bzip2 stream"},
        {"not bzip2", good, "damaged bzip2 data"},
        {"tiny table length", package_test::Compress(std::string("\x05\0\0\0\0\0\0\0", 8)), "is no table"},
    };
    for (const Case& c : cases) {
        const auto p = dir.write("p.pkg", c.bytes);
        const packager::Listing listing = packager::list_package(p, nullptr);
        if (c.problem.empty()) {
            EXPECT_TRUE(listing.ok()) << c.what;
            continue;
        }
        ASSERT_FALSE(listing.ok()) << c.what;
        bool found = false;
        for (const std::string& problem : listing.problems)
            found |= problem.find(c.problem) != std::string::npos;
        EXPECT_TRUE(found) << c.what << ": " << listing.problems.front();
    }
}

TEST(Packager, FailedPackLeavesNoOutput)
{
    packager_test::TempDir dir;
    dir.write("a.bin", "x");
    auto entries = packager::parse_manifest("0|<InstallPath>|a.bin\n", "m", dir.path());
    std::filesystem::remove(dir.path() / "a.bin");
    EXPECT_THROW(packager::write_package(entries, dir.path() / "out.pkg", nullptr), std::exception);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.pkg"));
}
