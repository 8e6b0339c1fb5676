#include "engine/transaction/installer_texts.h"

#include "languages/languages.h"

namespace va {

std::wstring InstallerTexts::Message(int number) const
{
    return InstallerMessage(static_cast<unsigned>(number));
}

}  // namespace va
