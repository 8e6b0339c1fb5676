#pragma once
// HRESULT arithmetic shared by every wrapper; no Windows header needed.

#include <cstdint>

namespace va {

using hresult_t = std::int32_t;

inline constexpr hresult_t kUnexpected = static_cast<hresult_t>(0x8000FFFFu);   // E_UNEXPECTED
inline constexpr hresult_t kNotImplemented = static_cast<hresult_t>(0x80004001u);  // E_NOTIMPL
inline constexpr hresult_t kOutOfMemory = static_cast<hresult_t>(0x8007000Eu);   // E_OUTOFMEMORY
inline constexpr hresult_t kFail = static_cast<hresult_t>(0x80004005u);          // E_FAIL

// A positive Windows error keeps its low 16 bits under FACILITY_WIN32; zero
// and negative values (already HRESULTs) pass unchanged.
constexpr hresult_t HresultFromWin32(std::int32_t code) noexcept
{
    if (code <= 0)
        return code;
    return static_cast<hresult_t>((static_cast<std::uint32_t>(code) & 0xFFFFu) | 0x80070000u);
}

}  // namespace va
