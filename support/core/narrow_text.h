#pragma once
// Narrow texts from exceptions and the runtime, made wide for display.

#include <string>
#include <string_view>

namespace va {

// UTF-8 when the whole text is valid UTF-8 (no overlong forms, surrogates or
// values above U+10FFFF), otherwise each byte as the character of that value.
std::wstring WidenExceptionText(std::string_view text);

}  // namespace va
