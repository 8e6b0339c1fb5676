#include "engine/package/core/shared_folders.h"

#include <exception>

#include "support/core/path_text.h"

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
                const std::wstring up = ParentFolderKeepingRoot(p);
                if (up.size() >= p.size() || up.empty())
                    break;
                p = up;
            }
        }
    } catch (const std::exception&) {
        // Rights are a convenience for other users; placement goes on without.
    }
}

}  // namespace va
