#pragma once
// Runtime (errno) error numbers as the Windows error codes, or program
// strings, that describe them to the user.

#include <cstdint>
#include <optional>

namespace va {

struct ErrnoTarget {
    enum class Kind { WindowsCode, ProgramString };
    Kind kind;
    std::uint32_t value;  // Windows error code or string-table identifier

    friend bool operator==(const ErrnoTarget&, const ErrnoTarget&) = default;
};

inline constexpr std::uint32_t kStringNoErrorMessage = 61472;      // "No error message is available."
inline constexpr std::uint32_t kStringUnsupportedOperation = 61473;
inline constexpr std::uint32_t kStringImproperArgument = 61477;
inline constexpr std::uint32_t kStringInternalError = 61704;

// Nothing for a number without a mapping.
std::optional<ErrnoTarget> MapErrno(int number) noexcept;

}  // namespace va
