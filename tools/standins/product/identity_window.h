#pragma once

#include <windows.h>

namespace standin {

// Class name of the window, for drivers that look for a running product.
inline constexpr wchar_t kWindowClass[] = L"TrelvaneStandInWindow";

// Shows the window that says what this program is; returns when it closes.
int RunIdentityWindow(HINSTANCE instance, int show);

}  // namespace standin
