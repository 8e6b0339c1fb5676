#pragma once
// The product's registry entries: its uninstall key, the program-path value
// under the maker's key, and the maker's key itself once nothing is left in
// it.

#include <windows.h>

namespace va::uninstall {

// ERROR_SUCCESS when none of them is left (also when they were gone), else
// the first error.
DWORD RemoveProductKeys();

}  // namespace va::uninstall
