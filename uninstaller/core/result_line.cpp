#include "uninstaller/core/result_line.h"

namespace va::uninstall {
namespace {

const wchar_t* OutcomeWord(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Removed:
        return L"removed";
    case Outcome::AlreadyGone:
        return L"already gone";
    case Outcome::Scheduled:
        return L"scheduled for restart";
    case Outcome::Kept:
        return L"kept";
    case Outcome::Deferred:
        return L"left to the copy";
    case Outcome::Failed:
        return L"failed";
    }
    return L"?";
}

const wchar_t* ReasonWords(Reason reason)
{
    switch (reason) {
    case Reason::None:
    case Reason::Error:
        return nullptr;
    case Reason::DataFile:
        return L"data file";
    case Reason::SharedComponent:
        return L"shared component";
    case Reason::NotEmpty:
        return L"not empty";
    case Reason::OutsideProduct:
        return L"outside the product's folders";
    case Reason::ThroughLink:
        return L"through a link";
    case Reason::ProgramMissing:
        return L"program missing";
    case Reason::Unfinished:
        return L"waits for the failed items";
    case Reason::InUse:
        return L"in use";
    case Reason::MutexLost:
        return L"the installer mutex was not taken back: nothing more removed";
    }
    return nullptr;
}

std::wstring ItemOf(const UndoStep& step)
{
    switch (step.kind) {
    case StepKind::UnregisterFileTypes:
        return L"file types of " + step.path;
    case StepKind::RemoveProductKeys:
        return L"registry keys";
    case StepKind::KeepSharedComponent:
        return L"DirectX runtime";
    default:
        return step.path;
    }
}

}  // namespace

std::wstring ResultLine(const StepResult& result)
{
    std::wstring line = OutcomeWord(result.outcome);
    line += L" ";
    line += ItemOf(result.step);
    if (const wchar_t* why = ReasonWords(result.reason)) {
        line += L" (";
        line += why;
        if (!result.link.empty())
            line += L": " + result.link;
        line += L")";
    }
    if (result.outcome == Outcome::Failed)
        line += L" (error " + std::to_wstring(static_cast<long>(static_cast<std::int32_t>(result.error))) + L")";
    return line;
}

std::wstring SummaryLine(const Summary& s)
{
    return L"items " + std::to_wstring(s.items) + L", removed " + std::to_wstring(s.removed) + L", scheduled " +
           std::to_wstring(s.scheduled) + L", kept " + std::to_wstring(s.kept) + L", deferred " +
           std::to_wstring(s.deferred) + L", failed " + std::to_wstring(s.failed);
}

}  // namespace va::uninstall
