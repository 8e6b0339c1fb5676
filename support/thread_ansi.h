// Text in the thread's ANSI code page, as the log and other files of the
// product's first versions hold it.
#pragma once

#include <string>
#include <string_view>

namespace va {

// The bytes read in the thread's ANSI code page; empty when they cannot be.
std::wstring DecodeThreadAnsi(std::string_view bytes);

}  // namespace va
