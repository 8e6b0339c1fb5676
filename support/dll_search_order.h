#pragma once
// Where the programs take their libraries from.  Both run elevated from
// folders that other users may write (a download folder, the temporary
// folder), so a library named like a system one and placed beside the
// program must never be loaded: system libraries come from the system
// folder only, and a library of our own (the DirectX set-up's) from its
// own folder and the system folder.

#include <windows.h>

#include <string>

namespace va {

// Makes the system folder the only place the loader searches for a library
// named without a path, for this process and for the libraries it loads.
// The first thing either program does.  False where the system cannot
// restrict the search (it then still removes the current folder from it).
bool RestrictDllSearchToSystemFolder();

// A system library, from the system folder whatever the search order; null
// with the last error set when it cannot be loaded from there.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A library given by its full path; the libraries it needs are taken from
// its own folder and the system folder only.  Null (last error set) where
// the system cannot restrict the search that way: never the old order.
HMODULE LoadLibraryFromFolder(const std::wstring& path);

}  // namespace va
