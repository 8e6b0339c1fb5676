#pragma once
// The package reader's own error codes, in their category "compress".

#include <string>
#include <system_error>

namespace va {

enum class compress_errc : int {
    invalid_checksum = 3,  // a written file reads back with another CRC-32
    verify_failed = 4,     // the caller's preparation check failed
    interrupted = 5,       // the callback answered cancel
    bzip2_error = 6,       // the compressed data is damaged or cut short
    unexpected = 7,        // length mismatch, malformed table, unknown folder, unknown failure
};

const std::error_category& compress_category() noexcept;

std::error_code make_error_code(compress_errc value) noexcept;

// Raises std::system_error carrying the code.
[[noreturn]] void throw_compress_error(compress_errc value);

}  // namespace va

template <>
struct std::is_error_code_enum<va::compress_errc> : std::true_type {};
