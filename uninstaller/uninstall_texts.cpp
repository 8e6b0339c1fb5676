#include "uninstaller/uninstall_texts.h"

#include <windows.h>
#include <shlwapi.h>

#include "languages/languages.h"
#include "identity/core/product.h"
#include "identity/core/registry_locations.h"
#include "support/format_message.h"
#include "uninstaller/core/messages.h"

namespace va::uninstall {

void ChooseInterfaceLanguage()
{
    LanguageIndex language = kEnglish;
    DWORD type = REG_DWORD;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const std::wstring key = std::wstring(kUninstallRoot) + L"\\" + ProductKey();
    if (::SHGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"VaLanguage", &type, &value, &size) == ERROR_SUCCESS &&
        type == REG_DWORD && value < static_cast<DWORD>(kLanguageCount) &&
        IsInstallerTranslated(static_cast<LanguageIndex>(value)))
        language = static_cast<LanguageIndex>(value);
    SetLanguage(language);
}

std::wstring Text(unsigned message, const std::vector<std::wstring>& inserts)
{
    const std::wstring pattern = InstallerMessage(message);
    return inserts.empty() ? pattern : FormatInserts(pattern, inserts);
}

std::wstring ProductText()
{
    return ProductDisplayName(true);
}

std::wstring Title()
{
    return Text(message::kTitle) + L" \u2013 " + ProductText();
}

}  // namespace va::uninstall
