#include "engine/package/core/exception_code.h"

#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/system/system_error.hpp>

#include <ios>

#include "engine/package/core/compress_error.h"

namespace va {
namespace {

std::error_code nonzero(std::error_code code) noexcept
{
    return code.value() != 0 ? code : make_error_code(compress_errc::unexpected);
}

}  // namespace

std::error_code error_code_of(const std::exception& e) noexcept
{
    // Before the stream failures: the bzip2 error is one of them by type.
    if (dynamic_cast<const boost::iostreams::bzip2_error*>(&e))
        return make_error_code(compress_errc::bzip2_error);
    if (const auto* failure = dynamic_cast<const std::ios_base::failure*>(&e))
        return nonzero(failure->code());
    if (const auto* system = dynamic_cast<const std::system_error*>(&e))
        return nonzero(system->code());
    if (const auto* boostError = dynamic_cast<const boost::system::system_error*>(&e)) {
        const boost::system::error_code& code = boostError->code();
        if (code.category() == boost::system::system_category())
            return nonzero({code.value(), std::system_category()});
        if (code.category() == boost::system::generic_category())
            return nonzero({code.value(), std::generic_category()});
    }
    return make_error_code(compress_errc::unexpected);
}

}  // namespace va
