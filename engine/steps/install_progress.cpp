#include "engine/steps/install_progress.h"

#include "languages/core/message_numbers.h"

namespace va {

void AppendStepResult(InstallProgress& progress, const MessageTexts& texts, bool succeeded)
{
    progress.AppendProgressText(texts.Message(succeeded ? kMessageOk : kMessageFailed) + L"\r\n");
}

}  // namespace va
