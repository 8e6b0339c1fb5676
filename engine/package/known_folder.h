#pragma once
// The shell's special folders by CSIDL, for the folder tokens.

#include <windows.h>

#include <string>

namespace va {

// The folder, else the second choice (csidl::none for none); raises
// unexpected (7) of compress_category when neither is known.  Creates
// nothing.
std::wstring known_folder(int csidl, int secondChoice, HWND owner);

}  // namespace va
