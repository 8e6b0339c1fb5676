#include "identity/core/folder_token_table.h"

namespace va {
namespace {

constexpr FolderToken kTokens[] = {
    {L"<InstallPath>", FolderStart::installation, csidl::none, csidl::none, false},
    {L"<SamplePath>", FolderStart::samples, csidl::common_desktop_directory, csidl::desktop_directory, false},
    // The system's folders: SystemFolderTokens() below.
    {L"<ProgramFiles>", FolderStart::known, csidl::program_files, csidl::none, false},
    {L"<ProgramCommon>", FolderStart::known, csidl::program_files_common, csidl::none, false},
    {L"<CommonData>", FolderStart::known, csidl::common_appdata, csidl::appdata, true},
    {L"<UserData>", FolderStart::known, csidl::appdata, csidl::none, false},
    {L"<CommonDocuments>", FolderStart::known, csidl::common_documents, csidl::personal, true},
    {L"<Documents>", FolderStart::known, csidl::personal, csidl::none, false},
    {L"<CommonDesktop>", FolderStart::known, csidl::common_desktop_directory, csidl::desktop_directory, true},
    {L"<Desktop>", FolderStart::known, csidl::desktop_directory, csidl::none, false},
    {L"<WinDir>", FolderStart::known, csidl::windows, csidl::none, false},
    {L"<System>", FolderStart::known, csidl::system, csidl::none, false},
    // End of the system's folders.
    {L"<Temporary>", FolderStart::temporary, csidl::none, csidl::none, false},
};

constexpr std::size_t kFirstSystem = 2;
constexpr std::size_t kSystemCount = 10;

}  // namespace

std::span<const FolderToken> FolderTokens()
{
    return kTokens;
}

std::span<const FolderToken> SystemFolderTokens()
{
    return std::span<const FolderToken>(kTokens).subspan(kFirstSystem, kSystemCount);
}

const FolderToken* FindFolderToken(std::wstring_view name)
{
    for (const FolderToken& token : kTokens)
        if (token.token == name)
            return &token;
    return nullptr;
}

}  // namespace va
