// VersionInfo::DisplayText: the reader's values through the display rules.
#include "identity/core/display_text.h"
#include "identity/version_info.h"

namespace va {

std::wstring VersionInfo::DisplayText(bool frenchInterface) const
{
    const std::uint32_t flags = fixed_ ? fixed_->dwFileFlags & fixed_->dwFileFlagsMask : 0;
    return ComposeDisplayText(StringValue(L"ProductName"), StringValue(L"ProductVersion"), flags, frenchInterface);
}

}  // namespace va
