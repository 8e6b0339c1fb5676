#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "engine/package/package_stream.h"
#include "tests/common/scratch_folder.h"

namespace {

std::string ReadAll(std::istream& s) { return std::string(std::istreambuf_iterator<char>(s), {}); }

}  // namespace

TEST(ResourceStream, ThePackageResourceInPlaceAndRewindable)
{
    const std::string expected = va::test::ReadBytes(TEST_PACKAGE_FILE);
    ASSERT_NE(expected, "<missing>");
    auto stream = va::open_resource_stream(va::kPackageResourceType, va::kPackageResourceId);
    ASSERT_TRUE(stream);
    EXPECT_EQ(ReadAll(*stream), expected);
    stream->clear();
    stream->seekg(0);
    ASSERT_TRUE(stream->good());
    EXPECT_EQ(ReadAll(*stream), expected);

    // In place: the bytes are those of the loaded image.
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(134), MAKEINTRESOURCEW(260));
    const void* image = ::LockResource(::LoadResource(nullptr, found));
    stream->clear();
    stream->seekg(0);
    EXPECT_EQ(stream->rdbuf()->pubseekoff(0, std::ios_base::cur, std::ios_base::in), 0);
    char first = 0;
    stream->read(&first, 1);
    EXPECT_EQ(first, *static_cast<const char*>(image));
}

TEST(ResourceStream, MissingOrEmptyResourceGivesAnEmptyStream)
{
    struct Case {
        const char* what;
        int type;
        int id;
    };
    const Case cases[] = {
        {"missing id", 260, 999}, {"empty resource", 260, 135}, {"other type", 261, 134}, {"string type", 6, 134}};
    for (const Case& c : cases) {
        auto stream = va::open_resource_stream(c.type, c.id);
        ASSERT_TRUE(stream) << c.what;
        EXPECT_EQ(stream->peek(), std::char_traits<char>::eof()) << c.what;
    }
}

TEST(ResourceStream, FallsBackToTheExecutable)
{
    HMODULE other = ::GetModuleHandleW(L"kernel32.dll");
    auto stream = va::open_resource_stream(260, 134, other);
    EXPECT_EQ(ReadAll(*stream).size(), va::test::ReadBytes(TEST_PACKAGE_FILE).size());
}

