#pragma once
// Where a test's helper programs are, and names no other test run uses.
// Starting programs and answering their boxes is the driver's
// (tests/driver/driver.h).

#include <string>

namespace test_support {

std::wstring BesideThisProgram(const std::wstring& name);
std::wstring UniqueName(const wchar_t* stem);

}  // namespace test_support
