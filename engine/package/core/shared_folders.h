#pragma once
// Folders shared by all users that receive rights for the Users group when
// the first file below them is placed, once per run.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace va {

// Access mask and inheritance of the Users group on a shared folder.
inline constexpr std::uint32_t kSharedFolderAccess = 0x1F01FF;  // all access
inline constexpr std::uint32_t kSharedFolderInheritance = 3;   // objects and containers

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

}  // namespace va
