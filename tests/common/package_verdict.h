#pragma once
// The verification's verdict as text, for the tests and fuzz targets that
// compare the reader on one processor and on several (no test framework).

#include <boost/iostreams/filter/bzip2.hpp>

#include <string>

#include "engine/package/core/memory_stream.h"
#include "engine/package/core/package_reading.h"

namespace package_test {

// "passes", "fails" or "bzip2 error <code>"; the stream stays as the
// verification left it.
inline std::string VerifyVerdict(va::MemoryStream& stream, unsigned processors)
{
    try {
        return va::verify_package(stream, processors) ? "passes" : "fails";
    } catch (const boost::iostreams::bzip2_error& e) {
        return "bzip2 error " + std::to_string(e.error());
    }
}

}  // namespace package_test
