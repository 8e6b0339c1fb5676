#include "uninstaller/core/product_areas.h"

#include "uninstaller/core/path_rules.h"

namespace va::uninstall {

void ProductAreas::AddRoot(const std::wstring& folder)
{
    if (IsPlainAbsolutePath(folder))
        roots_.push_back(folder);
}

void ProductAreas::AddProtected(const std::wstring& folder)
{
    if (IsPlainAbsolutePath(folder))
        protected_.push_back(folder);
}

bool ProductAreas::MayRemoveFile(const std::wstring& path) const
{
    // A log's "file" entry may name a system folder, or one above it, as
    // well as a folder entry may.
    if (!IsPlainAbsolutePath(path) || IsProtected(path))
        return false;
    for (const std::wstring& root : roots_)
        if (IsBelow(path, root))
            return true;
    return false;
}

bool ProductAreas::IsProtected(const std::wstring& folder) const
{
    // A drive's root or a share's: nothing above it to belong to.
    if (ParentOf(folder).empty() || PathDepth(folder) <= 1)
        return true;
    for (const std::wstring& system : protected_)
        if (IsWithin(system, folder))
            return true;
    return false;
}

bool ProductAreas::MayRemoveFolder(const std::wstring& path) const
{
    if (!IsPlainAbsolutePath(path) || IsProtected(path))
        return false;
    for (const std::wstring& root : roots_)
        if (IsWithin(path, root) || IsBelow(root, path))
            return true;
    return false;
}

std::optional<std::wstring> ProductAreas::RootOf(const std::wstring& path) const
{
    std::optional<std::wstring> deepest;
    for (const std::wstring& root : roots_)
        if (IsWithin(path, root) && (!deepest || PathDepth(root) > PathDepth(*deepest)))
            deepest = root;
    return deepest;
}

}  // namespace va::uninstall
