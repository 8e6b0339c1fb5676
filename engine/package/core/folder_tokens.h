#pragma once
// Destination folders in the package begin with a token such as
// "<InstallPath>" or "<CommonData>"; this turns them into folders of this
// machine and marks the folders below all-users locations as shared.

#include <functional>
#include <string>

#include "identity/core/folder_token_table.h"

namespace va {

struct FolderInputs {
    std::wstring installation;  // the chosen installation folder
    std::wstring samples;       // a folder name below the desktop, or an absolute path, or empty
    std::wstring temporary;     // this run's temporary folder
};

// Looks a special folder up, with a second choice (or csidl::none); raises
// unexpected (7) when neither is known.
using KnownFolderFn = std::function<std::wstring(int csidl, int second_choice)>;
using MarkSharedFn = std::function<void(const std::wstring&)>;

// Resolves one destination folder.  An element in angle brackets that is no
// token, and a ".." that would climb above the token's folder, raise
// unexpected (7).  `root`, when given, receives the token's folder (empty
// for a plain path).
std::wstring resolve_destination(const std::wstring& destination, const FolderInputs& inputs,
                                 const KnownFolderFn& knownFolder, const MarkSharedFn& markShared,
                                 std::wstring* root = nullptr);

// Whether a samples folder is used as it is (drive, colon and separator, or
// a root name such as a share).
bool is_absolute_folder(const std::wstring& path) noexcept;

}  // namespace va
