#pragma once
// The package travels as a resource of the installer; this reads it in
// place from the loaded image.

#include <windows.h>

#include <cstddef>
#include <istream>
#include <memory>

namespace va {

inline constexpr int kPackageResourceType = 260;
inline constexpr int kPackageResourceId = 134;

// A seekable stream over the resource's bytes, looked up in the module the
// support library takes resources from and then in the executable.  Empty
// when the resource is missing, empty or cannot be loaded.
std::unique_ptr<std::istream> open_resource_stream(int type, int id);

// The same with the first module given (nullptr: the executable).
std::unique_ptr<std::istream> open_resource_stream(int type, int id, HMODULE resourceModule);

// A seekable stream over memory the caller keeps alive (a resource or a
// mapped file), read in place.
std::unique_ptr<std::istream> open_memory_stream(const char* data, std::size_t size);

}  // namespace va
