#pragma once
// The icon and reading-order rules applied to every message box type.

#include <cstdint>

namespace va {

inline constexpr std::uint32_t kBoxButtonBits = 0x0000000F;
inline constexpr std::uint32_t kBoxIconBits = 0x000000F0;
inline constexpr std::uint32_t kBoxIconQuestion = 0x00000020;     // MB_ICONQUESTION
inline constexpr std::uint32_t kBoxIconExclamation = 0x00000030;  // MB_ICONEXCLAMATION
inline constexpr std::uint32_t kBoxRtlReading = 0x00100000;       // MB_RTLREADING

// A type without icon gets the exclamation mark for OK and OK/Cancel, the
// question mark for Yes/No/Cancel and Yes/No; right-to-left reading adds
// MB_RTLREADING.
constexpr std::uint32_t CompleteBoxType(std::uint32_t type, bool rightToLeft) noexcept
{
    if ((type & kBoxIconBits) == 0) {
        switch (type & kBoxButtonBits) {
        case 0:  // MB_OK
        case 1:  // MB_OKCANCEL
            type |= kBoxIconExclamation;
            break;
        case 3:  // MB_YESNOCANCEL
        case 4:  // MB_YESNO
            type |= kBoxIconQuestion;
            break;
        default:
            break;
        }
    }
    if (rightToLeft)
        type |= kBoxRtlReading;
    return type;
}

}  // namespace va
