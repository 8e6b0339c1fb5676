#pragma once
// Texts of string-table entries.

#include <windows.h>

#include <string>

namespace va {

// The text of entry `id` of `module`'s string tables (the program's own when
// `module` is null); empty when there is none.  The language is the one the
// resource loader picks: each entry exists in one language only.
std::wstring LoadResourceString(HMODULE module, UINT id);

}  // namespace va
