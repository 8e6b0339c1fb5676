#pragma once
// What the steps of the install transaction need from the Install page and
// from the string tables, kept abstract so that each step stands alone.

#include <string>

namespace va {

// The page's status line and progress text.
class InstallProgress {
public:
    virtual void ShowStatus(const std::wstring& text) = 0;
    // `banner`: a full-width line of dashes around the text.
    virtual void AppendProgressText(const std::wstring& text, bool banner = false) = 0;

protected:
    ~InstallProgress() = default;
};

// Installer message n in the current interface language, with its fallbacks.
class MessageTexts {
public:
    virtual std::wstring Message(int number) const = 0;

protected:
    ~MessageTexts() = default;
};

// Message numbers the engine's steps use.
enum StepMessage : int {
    kMessageOk = 11,
    kMessageFailed = 12,
    kMessageUninstallShortcut = 13,  // "%1" = product name without version
    kMessageShortcutsStep = 117,
    kMessageRegistryStep = 118,
    kMessageDirectXStep = 131,
};

// "%1" of a message filled FormatMessage-style; the pattern itself when it
// cannot be formatted.
std::wstring FillInsert(const std::wstring& pattern, const std::wstring& insert);

// The end of a step's line: "OK" or "Failed", then CR LF.
void AppendStepResult(InstallProgress& progress, const MessageTexts& texts, bool succeeded);

}  // namespace va
