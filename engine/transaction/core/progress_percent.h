#pragma once
// The progress bar's position from the decompressed bytes received.

#include <cstdint>

namespace va {

// done / total in percent, rounded half up; 99 rather than 100 while bytes
// are still missing, so the bar is full only when everything has arrived.
// 0 while the total is unknown (0).
int ProgressPercent(std::uint64_t done, std::uint64_t total) noexcept;

}  // namespace va
