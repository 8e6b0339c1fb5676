#pragma once
// The package's destination folders as the uninstaller sees them: each
// begins with a folder token ("<CommonData>\Vantaro\Trelvane 7"), which
// this machine turns into a real folder.  The list itself is generated from
// the manifest the installer was packed from (see machine_areas.cpp), so the
// uninstaller knows the folders of its own package and no others.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace va::uninstall {

// A token that stands for a special folder of the system (CSIDL values);
// `secondChoice` is -1 when there is none.
struct SystemFolderToken {
    std::wstring_view token;
    int csidl;
    int secondChoice;
};

// "<ProgramFiles>" to "<System>".  "<InstallPath>", "<SamplePath>" and
// "<Temporary>" are not in it: they depend on the installation.
std::span<const SystemFolderToken> SystemFolderTokens();

// CSIDL values the uninstaller asks for besides the tokens.
inline constexpr int kCsidlDesktopDirectory = 0x10;
inline constexpr int kCsidlCommonDesktopDirectory = 0x19;
inline constexpr int kCsidlPrograms = 0x02;
inline constexpr int kCsidlCommonPrograms = 0x17;
inline constexpr int kCsidlStartMenu = 0x0B;
inline constexpr int kCsidlCommonStartMenu = 0x16;
inline constexpr int kCsidlProfile = 0x28;

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
