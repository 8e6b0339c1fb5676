#include "engine/steps/registry_step.h"

#include "languages/core/message_numbers.h"
#include "engine/steps/file_type_registration.h"
#include "engine/steps/install_progress.h"

namespace va {

RegistryStepResult RunRegistryStep(UninstallLog& log, const RegistryStepFacts& facts,
                                   InstanceMutex& mutex, const MessageTexts& texts,
                                   InstallProgress& progress)
{
    const std::wstring status = texts.Message(kMessageRegistryStep);
    progress.ShowStatus(status);
    progress.AppendProgressText(status);

    const bool uninstallKey = WriteUninstallKey(log, facts.paths, facts.languageIndex);
    if (!WriteProductPathValue(facts.paths.mainProgram))
        return RegistryStepResult::PathValueFailed;

    const bool fileTypes = RegisterFileTypes(log, facts.paths.mainProgram, facts.foundVersion, mutex);
    AppendStepResult(progress, texts, uninstallKey && fileTypes);
    return RegistryStepResult::Completed;
}

}  // namespace va
