#include "uninstaller/core/final_report.h"

#include "uninstaller/core/messages.h"

namespace va::uninstall {
namespace {

std::wstring Joined(const std::vector<std::wstring>& lines, const MessageFn& message, std::size_t maxLines)
{
    std::wstring text;
    for (std::size_t n = 0; n < lines.size() && n < maxLines; ++n) {
        if (n > 0)
            text += L"\r\n";
        text += lines[n];
    }
    if (lines.size() > maxLines)
        text += L"\r\n" + message(message::kMoreLeft, {std::to_wstring(lines.size() - maxLines)});
    return text;
}

// The item as the user knows it.
std::wstring ItemName(const StepResult& r, const std::wstring& product, const MessageFn& message)
{
    if (r.step.kind == StepKind::RemoveProductKeys)
        return message(message::kRegistryEntries, {product});
    return r.step.path;
}

// One line for an item left behind; empty for what needs no mention.
std::wstring LeftLine(const StepResult& r, const std::wstring& product, const MessageFn& message,
                      const ErrorTextFn& errorText)
{
    if (r.step.kind == StepKind::UnregisterFileTypes) {
        if (r.reason == Reason::ProgramMissing)
            return message(message::kFileTypesNoProgram, {r.step.path});
        if (r.reason == Reason::MutexLost)
            return message(message::kInstallerRunning, {product});
        if (r.outcome == Outcome::Failed)
            return message(message::kFileTypesFailed,
                           {r.step.path, std::to_wstring(static_cast<long>(static_cast<std::int32_t>(r.error)))});
    }
    const std::wstring item = ItemName(r, product, message);
    switch (r.outcome) {
    case Outcome::Failed: {
        if (r.reason == Reason::ThroughLink)
            return message(message::kLeftThroughLink, {r.link.empty() ? item : r.link});
        const std::wstring code = std::to_wstring(r.error);
        return message(message::kLeftError, {item, code, errorText(r.error)});
    }
    case Outcome::Scheduled:
        return message(message::kLeftAtRestart, {item});
    case Outcome::Kept:
        switch (r.reason) {
        case Reason::NotEmpty:
            return message(message::kLeftNotEmpty, {item});
        case Reason::OutsideProduct:
            return message(message::kLeftOutside, {item});
        case Reason::ThroughLink:
            return message(message::kLeftThroughLink, {item});
        case Reason::Unfinished:
            return message(message::kLeftUnfinished, {item});
        default:
            return {};  // kept on purpose: data files, the shared runtime
        }
    default:
        return {};
    }
}

}  // namespace

FinalReport ComposeFinalReport(const std::vector<StepResult>& results, const std::wstring& product,
                               const MessageFn& message, const ErrorTextFn& errorText, std::size_t maxLines)
{
    const Summary summary = Summarize(results);
    std::vector<std::wstring> left;
    std::vector<std::wstring> dataFiles;
    for (const StepResult& r : results) {
        if (r.outcome == Outcome::Kept && r.reason == Reason::DataFile) {
            dataFiles.push_back(r.step.path);
            continue;
        }
        // Once the whole uninstallation waits for a restart, the restart
        // needs no list of its own.
        if (r.outcome == Outcome::Scheduled && summary.failed == 0)
            continue;
        std::wstring line = LeftLine(r, product, message, errorText);
        if (!line.empty())
            left.push_back(std::move(line));
    }

    FinalReport report;
    report.complete = summary.failed == 0;
    if (!report.complete) {
        report.text = message(message::kNotRemoved, {product, Joined(left, message, maxLines)});
    } else {
        report.text = message(summary.scheduled > 0 ? message::kRemovedAfterRestart : message::kRemoved, {product});
        if (!left.empty())
            report.text += L"\r\n\r\n" + message(message::kLeftItems, {Joined(left, message, maxLines)});
    }
    if (!dataFiles.empty())
        report.text += L"\r\n\r\n" + message(message::kDataKept, {Joined(dataFiles, message, maxLines)});
    return report;
}

}  // namespace va::uninstall
