#pragma once
// The package's destination folders as the uninstaller sees them: each
// begins with a folder token ("<CommonData>\Vantaro\Trelvane 7"), which
// this machine turns into a real folder.  The list itself is generated from
// the manifest the installer was packed from (see machine_areas.cpp), so the
// uninstaller knows the folders of its own package and no others.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "identity/core/folder_token_table.h"

namespace va::uninstall {

// A special folder of this machine; empty when unknown.
using SpecialFolderFn = std::function<std::wstring(int csidl)>;

// The folders one destination may stand for on this machine: the token's
// folder (and its second choice) followed by the rest of the destination.
// "<InstallPath>" starts from `installFolder`; "<SamplePath>" from both
// desktops (the samples folder's name followed the installer's language);
// "<Temporary>" and unknown tokens give nothing: nothing of theirs stays.
std::vector<std::wstring> ResolvePackageFolder(std::wstring_view destination, const std::wstring& installFolder,
                                               const SpecialFolderFn& specialFolder);

}  // namespace va::uninstall
