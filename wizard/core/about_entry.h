#pragma once
// The About entry of the host's system menu.

#include <string>

namespace va {

// `about` (the filled About text) as the menu shows it: "&" + about + "..."
// left to right; "..." + about, without an accelerator, right to left.
std::wstring AboutMenuEntry(const std::wstring& about, bool rightToLeft);

}  // namespace va
