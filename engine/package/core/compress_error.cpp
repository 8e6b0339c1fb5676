#include "engine/package/core/compress_error.h"

namespace va {
namespace {

class compress_category_impl final : public std::error_category {
public:
    const char* name() const noexcept override { return "compress"; }

    std::string message(int value) const override
    {
        switch (static_cast<compress_errc>(value)) {
        case compress_errc::invalid_checksum:
            return "invalid checksum";
        case compress_errc::interrupted:
            return "interrupted";
        case compress_errc::bzip2_error:
            return "bzip2 error";
        case compress_errc::unexpected:
            return "unexpected error";
        case compress_errc::verify_failed:
        default:
            return "unknown error";
        }
    }
};

}  // namespace

const std::error_category& compress_category() noexcept
{
    static const compress_category_impl instance;
    return instance;
}

std::error_code make_error_code(compress_errc value) noexcept
{
    return {static_cast<int>(value), compress_category()};
}

void throw_compress_error(compress_errc value)
{
    throw std::system_error(make_error_code(value));
}

}  // namespace va
