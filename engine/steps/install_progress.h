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

// Installer message n in the current interface language, with its fallbacks
// (the numbers: languages/core/message_numbers.h).
class MessageTexts {
public:
    virtual std::wstring Message(int number) const = 0;

protected:
    ~MessageTexts() = default;
};

// The end of a step's line: "OK" or "Failed", then CR LF.
void AppendStepResult(InstallProgress& progress, const MessageTexts& texts, bool succeeded);

}  // namespace va
