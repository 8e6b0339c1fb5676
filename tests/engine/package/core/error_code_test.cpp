#include <gtest/gtest.h>

#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/system/system_error.hpp>

#include <filesystem>
#include <ios>
#include <stdexcept>

#include "engine/package/core/compress_error.h"
#include "engine/package/core/exception_code.h"

TEST(CompressCategory, NameAndMessages)
{
    const std::error_category& cat = va::compress_category();
    EXPECT_STREQ(cat.name(), "compress");
    EXPECT_EQ(&cat, &va::compress_category());
    const std::pair<int, const char*> cases[] = {
        {3, "invalid checksum"}, {4, "unknown error"}, {5, "interrupted"}, {6, "bzip2 error"},
        {7, "unexpected error"}, {0, "unknown error"}, {8, "unknown error"}, {-1, "unknown error"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(cat.message(value), text) << value;
    const std::error_code code = va::compress_errc::interrupted;
    EXPECT_EQ(code.value(), 5);
    EXPECT_EQ(&code.category(), &cat);
}

namespace {

// A Boost.System category of neither the system nor the generic kind.
struct OtherBoostCategory : boost::system::error_category {
    const char* name() const noexcept override { return "other"; }
    std::string message(int) const override { return "other"; }
};

const OtherBoostCategory kOtherBoostCategory;

}  // namespace

TEST(ErrorCodeOf, FirstMatchingRule)
{
    const std::error_code unexpected = va::make_error_code(va::compress_errc::unexpected);
    struct Case {
        const char* what;
        std::function<void()> raise;
        std::error_code code;
    };
    const Case cases[] = {
        {"bzip2 error", [] { throw boost::iostreams::bzip2_error(-4); }, va::make_error_code(va::compress_errc::bzip2_error)},
        {"stream failure with a Windows code",
         [] { throw std::ios_base::failure("x", std::error_code(32, std::system_category())); },
         std::error_code(32, std::system_category())},
        {"plain stream failure", [] { throw std::ios_base::failure("x"); }, std::io_errc::stream},
        {"stream failure of code 0", [] { throw std::ios_base::failure("x", std::error_code()); }, unexpected},
        {"system error", [] { throw std::system_error(5, std::system_category()); }, std::error_code(5, std::system_category())},
        {"generic error", [] { throw std::system_error(ENOENT, std::generic_category()); },
         std::error_code(ENOENT, std::generic_category())},
        {"compress error", [] { va::throw_compress_error(va::compress_errc::invalid_checksum); },
         va::make_error_code(va::compress_errc::invalid_checksum)},
        {"filesystem error",
         [] { throw std::filesystem::filesystem_error("x", std::error_code(3, std::system_category())); },
         std::error_code(3, std::system_category())},
        {"Boost system category",
         [] { throw boost::system::system_error(boost::system::error_code(5, boost::system::system_category())); },
         std::error_code(5, std::system_category())},
        {"Boost generic category",
         [] { throw boost::system::system_error(boost::system::error_code(2, boost::system::generic_category())); },
         std::error_code(2, std::generic_category())},
        {"Boost error of another category",
         [] { throw boost::system::system_error(boost::system::error_code(5, kOtherBoostCategory)); }, unexpected},
        {"runtime error", [] { throw std::runtime_error("x"); }, unexpected},
        {"bad alloc", [] { throw std::bad_alloc(); }, unexpected},
    };
    for (const Case& c : cases) {
        try {
            c.raise();
            ADD_FAILURE() << c.what;
        } catch (const std::exception& e) {
            EXPECT_EQ(va::error_code_of(e), c.code) << c.what;
        }
    }
}
