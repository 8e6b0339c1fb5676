#pragma once
// The code a failed installation shows in its status line ("Installation
// failed (Error Code %1)."): the category tells where the failure came from.

#include <string>
#include <system_error>

namespace va {

// The operating system's codes: "1:" and eight hexadecimal digits; the C
// library's (errno) codes: "2:" and eight digits; the package reader's own
// codes (3 to 7) as a number; a failure of any other kind, such as a stream
// failure, as 7.
std::wstring ErrorCodeText(const std::error_code& code);

// The code shown when the main program's location could not be recorded.
inline constexpr const wchar_t* kPathValueErrorText = L"-1";

}  // namespace va
