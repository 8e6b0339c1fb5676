#include "engine/core/shared_folders.h"

#include <exception>

namespace va {

void SharedFolderList::mark_shared(const std::wstring& folder)
{
    for (const SharedFolder& record : records_)
        if (samePath_(record.folder, folder))
            return;
    records_.push_back({folder, false});
}

void SharedFolderList::apply_rights(const std::wstring& folder,
                                    const std::function<FolderStatus(const std::wstring&)>& status,
                                    const std::function<void(const std::wstring&)>& grant)
{
    try {
        for (SharedFolder& record : records_) {
            if (record.done)
                continue;
            std::wstring p = folder;
            while (true) {
                if (status(p) != FolderStatus::folder)
                    break;
                if (samePath_(p, record.folder)) {
                    record.done = true;
                    grant(p);
                    break;
                }
                const std::wstring up = parent_folder(p);
                if (up.size() >= p.size() || up.empty())
                    break;
                p = up;
            }
        }
    } catch (const std::exception&) {
        // Rights are a convenience for other users; placement goes on without.
    }
}

std::wstring parent_folder(const std::wstring& path)
{
    std::size_t end = path.size();
    while (end > 0 && (path[end - 1] == L'\\' || path[end - 1] == L'/'))
        --end;  // a trailing separator does not make a component
    const std::size_t cut = path.find_last_of(L"\\/", end == 0 ? 0 : end - 1);
    if (cut == std::wstring::npos || end == 0)
        return {};
    std::size_t keep = cut;
    while (keep > 0 && (path[keep - 1] == L'\\' || path[keep - 1] == L'/'))
        --keep;
    // Keep the root's separator ("C:\" rather than "C:").
    if (keep == 0 || (keep == 2 && path[1] == L':'))
        return path.substr(0, cut + 1);
    return path.substr(0, keep);
}

}  // namespace va
