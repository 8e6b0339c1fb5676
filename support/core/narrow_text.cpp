#include "support/core/narrow_text.h"

#include <optional>

namespace va {
namespace {

void Append(std::wstring& out, char32_t c)
{
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(c));
}

std::optional<std::wstring> DecodeUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra;
        char32_t c;
        char32_t minimum;
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, c = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, c = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, c = lead & 0x07, minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (text.size() - i <= static_cast<size_t>(extra))
            return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        Append(out, c);
        i += extra + 1;
    }
    return out;
}

}  // namespace

std::wstring WidenExceptionText(std::string_view text)
{
    if (auto decoded = DecodeUtf8(text))
        return *std::move(decoded);
    std::wstring bytes;
    bytes.reserve(text.size());
    for (char c : text)
        bytes.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return bytes;
}

}  // namespace va
