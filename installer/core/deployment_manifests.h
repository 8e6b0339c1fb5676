#pragma once
// What package managers need to deploy the installer unattended: a winget
// manifest (version, default-locale and installer files) and a Chocolatey
// install-script fragment.  Everything they say about the command line and
// the exit codes comes from the installer's own tables, so the descriptions
// cannot drift from the program.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace va {

// How winget reads one exit code of the installer.
struct DeploymentExitCode {
    int code;
    std::string_view wingetResponse;  // winget's ReturnResponse; "" for a success
};

// Every exit code the installer can end with (support/core/exit_codes.h),
// successes first.
std::span<const DeploymentExitCode> InstallerExitCodes();

// The facts of one built installer the tables cannot know.
struct ReleaseFacts {
    std::string installerSha256;  // upper-case hexadecimal, as winget writes it
    std::string installerUrl;     // where the release is published
};

struct DeploymentFile {
    std::string name;  // file name beside the installer
    std::string text;
};

inline constexpr std::string_view kWingetPackageIdentifier = "Vantaro.Trelvane7";
inline constexpr std::string_view kWingetManifestVersion = "1.6.0";

// The winget manifest's three files and the Chocolatey fragment, in that order.
// Throws std::invalid_argument for a digest that is not 64 hexadecimal digits
// or an address that is empty or holds blanks or quotes.
std::vector<DeploymentFile> DeploymentManifests(const ReleaseFacts& facts);

// "/name" or "/name=value" for a switch of the installer's table; throws
// std::logic_error for a name the table lacks or a value it does not take.
std::string InstallerSwitchText(std::wstring_view name, std::string_view value = {});

}  // namespace va
