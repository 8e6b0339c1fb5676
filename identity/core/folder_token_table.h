#pragma once
// The package's folder tokens ("<InstallPath>", "<CommonData>", ...) and the
// special folders they stand for: one table for the installer's reader,
// which resolves them, and the uninstaller, which looks for what they left.

#include <span>
#include <string_view>

namespace va {

// CSIDL values of the shell's special folders.
namespace csidl {
inline constexpr int programs = 0x02;
inline constexpr int personal = 0x05;
inline constexpr int start_menu = 0x0B;
inline constexpr int desktop_directory = 0x10;
inline constexpr int common_start_menu = 0x16;
inline constexpr int common_programs = 0x17;
inline constexpr int common_desktop_directory = 0x19;
inline constexpr int appdata = 0x1A;
inline constexpr int common_appdata = 0x23;
inline constexpr int windows = 0x24;
inline constexpr int system = 0x25;
inline constexpr int program_files = 0x26;
inline constexpr int profile = 0x28;
inline constexpr int program_files_common = 0x2B;
inline constexpr int common_documents = 0x2E;
inline constexpr int none = -1;
}  // namespace csidl

// Where a token's folder comes from.
enum class FolderStart { installation, samples, temporary, known };

struct FolderToken {
    std::wstring_view token;
    FolderStart start;
    int csidl;         // the special folder, csidl::none when the start is not `known`/`samples`
    int secondChoice;  // used when `csidl` is unknown on this machine; csidl::none when there is none
    bool marksShared;  // folders below it are shared by all users
};

// Every token, in the order the reader tests them.
std::span<const FolderToken> FolderTokens();

// "<ProgramFiles>" to "<System>": the tokens that stand for a special folder
// of the system alone.
std::span<const FolderToken> SystemFolderTokens();

// The token named exactly so (tokens are case-sensitive); null for none.
const FolderToken* FindFolderToken(std::wstring_view name);

}  // namespace va
