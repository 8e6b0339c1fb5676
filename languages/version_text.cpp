#include "languages/version_text.h"

#include "languages/languages.h"

namespace va {

std::wstring VersionDisplayText(const VersionInfo& info)
{
    return info.DisplayText(PrimaryLanguage(CurrentLanguage().Lcid) == PrimaryLanguage(LanguageLcid(kFrench)));
}

}  // namespace va
