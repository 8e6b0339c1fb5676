#include "engine/transaction/core/error_code_text.h"

#include <cstdio>

#include "engine/package/core/compress_error.h"

namespace va {
namespace {

std::wstring Coded(int prefix, int value)
{
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%d:%08X", prefix, static_cast<unsigned>(value));
    return text;
}

}  // namespace

std::wstring ErrorCodeText(const std::error_code& code)
{
    const std::error_category& category = code.category();
    if (category == std::system_category())
        return Coded(1, code.value());
    if (category == std::generic_category())
        return Coded(2, code.value());
    if (category == compress_category())
        return std::to_wstring(code.value());
    return std::to_wstring(static_cast<int>(compress_errc::unexpected));
}

}  // namespace va
