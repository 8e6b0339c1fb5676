#include "uninstaller/core/undo_plan.h"

#include <algorithm>
#include <set>

#include "uninstaller/core/path_rules.h"

namespace va::uninstall {
namespace {

bool IsShortcut(std::int32_t type)
{
    return type == ProgramShortcut || type == UninstallShortcut || type == DesktopShortcut;
}

}  // namespace

std::wstring MainProgramOf(const std::vector<LogEntry>& entries)
{
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->Type == InstalledFile && it->Outcome == 1 && it->Detail == kMainProgramKind)
            return it->Path;
    return {};
}

std::vector<std::wstring> DataFilesOf(const std::vector<LogEntry>& entries, const ProductAreas& areas)
{
    std::vector<std::wstring> files;
    std::set<std::wstring> seen;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->Type == InstalledFile && it->Outcome == 1 && it->Detail == kDataFileKind &&
            areas.MayRemoveFile(it->Path) && seen.insert(PathKey(it->Path)).second)
            files.push_back(it->Path);
    return files;
}

std::vector<UndoStep> PlanUndo(const std::vector<LogEntry>& entries, const ProductAreas& areas,
                               const PlanChoices& choices)
{
    std::vector<UndoStep> first;    // the file types
    std::vector<UndoStep> items;    // files and shortcuts, newest first
    std::vector<UndoStep> folders;  // newest first, sorted deepest first below
    std::vector<UndoStep> last;     // the registry keys
    std::set<std::wstring> seenFiles;
    std::set<std::wstring> seenFolders;
    bool fileTypesPlanned = false;
    bool keysPlanned = false;

    for (std::size_t n = entries.size(); n-- > 0;) {
        const LogEntry& entry = entries[n];
        if (entry.Outcome != 1)
            continue;
        UndoStep step{StepKind::DeleteFile, entry.Path, entry, n};
        switch (entry.Type) {
        case FileTypes: {
            if (fileTypesPlanned)
                break;
            fileTypesPlanned = true;
            step.path = MainProgramOf(entries);
            // The program is started with administrator rights: only the
            // product's own, never one a damaged log points elsewhere.
            step.kind = step.path.empty() || areas.MayRemoveFile(step.path) ? StepKind::UnregisterFileTypes
                                                                             : StepKind::LeaveOutside;
            first.push_back(std::move(step));
            break;
        }
        case UninstallKey:
            if (keysPlanned)
                break;
            keysPlanned = true;
            step.kind = StepKind::RemoveProductKeys;
            step.path.clear();
            last.push_back(std::move(step));
            break;
        case DirectXRuntime:
            step.kind = StepKind::KeepSharedComponent;
            step.path.clear();
            items.push_back(std::move(step));
            break;
        case CreatedFolder:
            if (entry.Path.empty() || !seenFolders.insert(PathKey(entry.Path)).second)
                break;
            step.kind = areas.MayRemoveFolder(entry.Path) ? StepKind::RemoveFolder : StepKind::LeaveOutside;
            folders.push_back(std::move(step));
            break;
        case InstalledFile:
        case ProgramShortcut:
        case UninstallShortcut:
        case DesktopShortcut:
            if (entry.Path.empty() || !seenFiles.insert(PathKey(entry.Path)).second)
                break;
            if (!areas.MayRemoveFile(entry.Path))
                step.kind = StepKind::LeaveOutside;
            else if (IsShortcut(entry.Type))
                step.kind = StepKind::DeleteShortcut;
            else if (!choices.ownProgram.empty() && SamePathText(entry.Path, choices.ownProgram))
                step.kind = StepKind::LeaveToCopy;
            else if (entry.Detail == kDataFileKind && !choices.removeDataFiles)
                step.kind = StepKind::KeepDataFile;
            items.push_back(std::move(step));
            break;
        default:
            break;
        }
    }
    std::stable_sort(folders.begin(), folders.end(), [](const UndoStep& a, const UndoStep& b) {
        return PathDepth(a.path) > PathDepth(b.path);
    });

    std::vector<UndoStep> plan;
    plan.reserve(first.size() + items.size() + folders.size() + last.size());
    for (auto* part : {&first, &items, &folders, &last})
        std::move(part->begin(), part->end(), std::back_inserter(plan));
    return plan;
}

}  // namespace va::uninstall
