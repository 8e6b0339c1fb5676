#pragma once
// What the start-up found installed, which decides how files are placed.

#include <cstdint>

namespace va {

enum InstallKind : std::int32_t {
    NewerInstalled = -1,
    Fresh = 0,
    Reinstall = 1,
    Update = 2,
};

}  // namespace va
