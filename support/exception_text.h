#pragma once
// User-readable texts for caught exceptions.

#include <exception>
#include <string>

namespace va {

std::wstring ExceptionText(const std::exception& error);
// Also for exceptions of any other type (string 61472).
std::wstring ExceptionText(const std::exception_ptr& error);

}  // namespace va
