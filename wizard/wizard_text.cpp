#include "wizard/wizard_text.h"

#include "languages/languages.h"
#include "support/format_message.h"

namespace va {

std::wstring WizardText(unsigned message)
{
    return InstallerMessage(message);
}

std::wstring WizardText(unsigned message, const std::vector<std::wstring>& inserts)
{
    return FormatInserts(InstallerMessage(message), inserts);
}

}  // namespace va
