#pragma once
// How any failure inside the reader becomes the one error code it reports.

#include <exception>
#include <system_error>

namespace va {

// First match wins: a bzip2 failure is 6; a stream failure or system error
// keeps its code; a Boost.System error of the system or generic category
// keeps its value in the standard one; anything else is unexpected (7).  A
// code of value 0 would read as success and becomes 7 as well.
std::error_code error_code_of(const std::exception& e) noexcept;

}  // namespace va
