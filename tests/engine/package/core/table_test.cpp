// The table is parsed from bytes the package claims; none of these may read
// outside the buffer, allocate without bound or be taken for a table.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "engine/package/core/compress_error.h"
#include "engine/package/core/package_extractor.h"
#include "engine/package/core/package_reading.h"
#include "engine/package/core/package_format.h"
#include "tests/common/package_fixture.h"

namespace {

using package_test::FileSpec;

std::vector<unsigned char> Bytes(std::initializer_list<unsigned> values)
{
    return std::vector<unsigned char>(values.begin(), values.end());
}

void PutLength(std::vector<unsigned char>& table, std::uint64_t length)
{
    for (int i = 0; i < 8; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<unsigned char>(length >> (8 * i));
}

std::vector<unsigned char> OneEntryTable()
{
    return va::encode_table({{L"src\\a.txt", L"<InstallPath>", 0, 3, 0, {}}});
}

}  // namespace

TEST(PackageTable, RoundTrip)
{
    const std::vector<va::PackageEntry> entries = {
        {L"C:\\build\\Trelvane.exe", L"<InstallPath>", 1, 1234567890123ull, 0xDEADBEEFu, {}},
        {L"", L"", 7, 0, 0, {}},
        {L"x/y:z\x00e9\x4e2d", L"<CommonData>\\Vantaro\\Trelvane 7", 3, 5, 1, {}},
    };
    const std::vector<unsigned char> table = va::encode_table(entries);
    const std::vector<va::PackageEntry> back = va::parse_table(table.data(), table.size());
    ASSERT_EQ(back.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(back[i].source, entries[i].source);
        EXPECT_EQ(back[i].destination, entries[i].destination);
        EXPECT_EQ(back[i].kind, entries[i].kind);
        EXPECT_EQ(back[i].size, entries[i].size);
        EXPECT_EQ(back[i].crc, entries[i].crc);
    }
}

TEST(PackageTable, LengthIsTheFirstBytesNotASignature)
{
    // 36 bytes of fixed fields plus 2 * (6542 + 13) of text: 13,146 bytes.
    const std::wstring source = L"C:\\" + std::wstring(6539, L'n');
    const std::vector<unsigned char> table = va::encode_table({{source, L"<InstallPath>", 0, 0, 0, {}}});
    ASSERT_EQ(table.size(), 13146u);
    EXPECT_EQ(std::vector<unsigned char>(table.begin(), table.begin() + 8),
              Bytes({0x5A, 0x33, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(va::read_table_length(table.data()), 13146u);

    // The reader takes those bytes for a length and extracts the package.
    package_test::MemoryHost host;
    std::string archive(table.begin(), table.end());
    std::istringstream stream(package_test::Compress(archive));
    EXPECT_TRUE(va::extract_package(stream, {L"C:\\I", L"S", L"C:\\T"}, nullptr, host));
    EXPECT_EQ(host.files.count(L"C:\\I\\" + std::wstring(6539, L'n')), 1u);
}

TEST(PackageTable, MalformedTablesAreRefused)
{
    struct Case {
        const char* what;
        std::vector<unsigned char> table;
    };
    std::vector<Case> cases;
    {
        std::vector<unsigned char> t = OneEntryTable();
        t[8] = 2;  // two records announced, one present
        cases.push_back({"count beyond the records", t});
    }
    {
        std::vector<unsigned char> t = OneEntryTable();
        t[8] = 0xFF, t[9] = 0xFF, t[10] = 0xFF, t[11] = 0xFF;
        cases.push_back({"count that cannot fit", t});
    }
    {
        std::vector<unsigned char> t = OneEntryTable();
        t[12] = 0xFF, t[13] = 0xFF, t[14] = 0xFF, t[15] = 0x7F;
        cases.push_back({"source length beyond the table", t});
    }
    {
        std::vector<unsigned char> t = OneEntryTable();
        const std::size_t destinationLength = 12 + 4 + 2 * 9;
        t[destinationLength] = 200;
        cases.push_back({"destination length beyond the table", t});
    }
    {
        std::vector<unsigned char> t = OneEntryTable();
        t.push_back(0);
        PutLength(t, t.size());
        cases.push_back({"bytes after the last record", t});
    }
    {
        std::vector<unsigned char> t = OneEntryTable();
        t.pop_back();
        PutLength(t, t.size());
        cases.push_back({"last record cut short", t});
    }
    for (const Case& c : cases) {
        try {
            va::parse_table(c.table.data(), c.table.size());
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code(), va::make_error_code(va::compress_errc::unexpected)) << c.what;
        }
    }
}

TEST(PackageTable, ImplausibleLengths)
{
    for (std::uint64_t length : std::vector<std::uint64_t>{0, 8, 11, va::kMaximumTableLength + 1, ~0ull})
        EXPECT_FALSE(va::plausible_table_length(length)) << length;
    for (std::uint64_t length : std::vector<std::uint64_t>{12, 4096, va::kMaximumTableLength})
        EXPECT_TRUE(va::plausible_table_length(length)) << length;
}

TEST(PackageTable, FileNameIsTheLastComponent)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\build\\lang\\En.dll", L"En.dll"}, {L"build/x/Data.tv-lib", L"Data.tv-lib"},
        {L"D:file.bmp", L"file.bmp"},           {L"plain.jpg", L"plain.jpg"},
        {L"dir\\", L""},
    };
    for (const auto& [source, name] : cases)
        EXPECT_EQ(va::file_name_of(source), name) << source;
}
