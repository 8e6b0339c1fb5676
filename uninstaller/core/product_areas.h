#pragma once
// Where the uninstaller may act: the folders this product could have made
// things in.  A log may name any path; only those inside these areas are
// removed, every other one is reported and left.

#include <optional>
#include <string>
#include <vector>

namespace va::uninstall {

class ProductAreas {
public:
    // A folder whose content the product may have made: the installation
    // folder, the Start-menu folder, a desktop, a package destination.
    // Paths of any but the plain absolute form are ignored.
    void AddRoot(const std::wstring& folder);
    // A folder of the system (Program Files, the desktop, the Start menu's
    // programs ...): never removed, nor any folder above it.
    void AddProtected(const std::wstring& folder);

    // A file or shortcut: strictly inside a root, and neither a protected
    // folder nor above one.
    bool MayRemoveFile(const std::wstring& path) const;
    // A folder: a root, inside one, or above one (the installation made
    // its missing parents); never a protected folder, a folder above one
    // or a drive's root.
    bool MayRemoveFolder(const std::wstring& path) const;
    // The deepest root holding `path`; nothing when none does.
    std::optional<std::wstring> RootOf(const std::wstring& path) const;

    const std::vector<std::wstring>& Roots() const { return roots_; }
    const std::vector<std::wstring>& Protected() const { return protected_; }

private:
    bool IsProtected(const std::wstring& folder) const;

    std::vector<std::wstring> roots_;
    std::vector<std::wstring> protected_;
};

}  // namespace va::uninstall
