#pragma once
// Reading the registry with three outcomes kept apart: a result, "not
// there", and a real error (raised as std::system_error in the system
// category, carrying the Windows error code).

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va {

// RegOpenKeyExW with MAXIMUM_ALLOWED; an empty key when there is none.
UniqueKey OpenKey(HKEY root, const std::wstring& subKey);

// Text of a REG_SZ or REG_EXPAND_SZ value (not expanded) whose data ends in a
// terminating zero; false when the value is missing, of another type, of an
// odd size or unterminated.  Embedded zeros stay in the text.
bool ReadString(HKEY key, const std::wstring& name, std::wstring& text);

}  // namespace va
