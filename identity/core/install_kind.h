#pragma once

#include <cstdint>

namespace va {

// What start-up found installed.
enum InstallKindValue : std::int32_t {
    Fresh = 0,
    Reinstall = 1,
    Update = 2,
    NewerInstalled = -1,
};

}  // namespace va
