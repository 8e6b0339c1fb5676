#pragma once
// User-readable texts for Windows error codes and HRESULTs: the one place
// that turns a code into words; everything shown or logged goes through
// ErrorText.

#include <windows.h>

#include <string>

namespace va {

// The system's message for `code` in `language` (0: the system's choice),
// without trailing line breaks.  A code without text gives the text of
// E_FAIL, and that failing, "Error".
std::wstring SystemErrorText(DWORD code, DWORD language);

// The text for an HRESULT or Windows error code.  Customer codes (bit 29)
// name a program string by their low 16 bits when bit 27 is also set.
std::wstring ErrorText(DWORD code);

}  // namespace va
