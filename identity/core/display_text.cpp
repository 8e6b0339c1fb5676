#include "identity/core/display_text.h"

namespace va {

std::wstring ComposeDisplayText(const std::wstring& productName, const std::wstring& productVersion,
                                std::uint32_t flags, bool frenchInterface)
{
    std::wstring text = productName;
    if (!productVersion.empty())
        text += L" " + productVersion;

    if ((flags & kFileFlagPrerelease) && !frenchInterface) {
        const std::wstring french = L"b\u00EAta";
        const size_t at = text.rfind(french);
        if (at != std::wstring::npos)
            text.replace(at, french.size(), L"beta");
    }
    if (flags & kFileFlagPrivate)
        text += L" \u2013 Private";
    if (flags & kFileFlagDebug)
        text += L" \u2013 Debug";
    return text;
}

}  // namespace va
