// VersionInfo::DisplayText: the reader's values through the display rules.
#include "app/core/display_text.h"

#include "app/languages.h"
#include "app/version_info.h"

namespace va {

std::wstring VersionInfo::DisplayText(bool frenchInterface) const
{
    const std::uint32_t flags = fixed_ ? fixed_->dwFileFlags & fixed_->dwFileFlagsMask : 0;
    return ComposeDisplayText(StringValue(L"ProductName"), StringValue(L"ProductVersion"), flags, frenchInterface);
}

std::wstring VersionInfo::DisplayText() const
{
    return DisplayText(PrimaryLanguage(CurrentLanguage().Lcid) == PrimaryLanguage(LanguageLcid(kFrench)));
}

}  // namespace va
