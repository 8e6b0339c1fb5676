#pragma once
// Folders shared by all users that receive rights for the Users group when
// the first file below them is placed, once per run.

#include <functional>
#include <string>
#include <vector>

namespace va {

struct SharedFolder {
    std::wstring folder;
    bool done = false;
};

enum class FolderStatus { not_found, folder, other };

class SharedFolderList {
public:
    using SamePathFn = std::function<bool(const std::wstring&, const std::wstring&)>;

    explicit SharedFolderList(SamePathFn samePath) : samePath_(std::move(samePath)) {}

    // Adds the folder unless the same folder is listed already.
    void mark_shared(const std::wstring& folder);

    // Walks from `folder` towards its root and grants every listed, not yet
    // done folder met on the way.  `status` may raise for errors other than
    // "not found"; any error of the standard family ends the walk silently.
    void apply_rights(const std::wstring& folder,
                      const std::function<FolderStatus(const std::wstring&)>& status,
                      const std::function<void(const std::wstring&)>& grant);

    const std::vector<SharedFolder>& records() const noexcept { return records_; }

private:
    SamePathFn samePath_;
    std::vector<SharedFolder> records_;
};

// The folder part of a path: everything before its last backslash or slash
// (empty when there is none).
std::wstring parent_folder(const std::wstring& path);

}  // namespace va
