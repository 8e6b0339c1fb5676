#pragma once
// The uninstaller's texts in the interface language, from its string tables.

#include <string>
#include <vector>

namespace va::uninstall {

// The language the installation used ("VaLanguage" of the uninstall key)
// when the installer is translated into it, else English.
void ChooseInterfaceLanguage();

// Message `message` (see core/messages.h), its inserts filled.
std::wstring Text(unsigned message, const std::vector<std::wstring>& inserts = {});

// "Uninstaller – Trelvane 7.08g": the caption of every window and box.
std::wstring Title();

// The product with its version, as the messages name it.
std::wstring ProductText();

}  // namespace va::uninstall
