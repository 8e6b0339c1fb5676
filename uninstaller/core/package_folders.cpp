#include "uninstaller/core/package_folders.h"

namespace va::uninstall {
namespace {

constexpr SystemFolderToken kTokens[] = {
    {L"<ProgramFiles>", 0x26, -1},
    {L"<ProgramCommon>", 0x2B, -1},
    {L"<CommonData>", 0x23, 0x1A},
    {L"<UserData>", 0x1A, -1},
    {L"<CommonDocuments>", 0x2E, 0x05},
    {L"<Documents>", 0x05, -1},
    {L"<CommonDesktop>", 0x19, 0x10},
    {L"<Desktop>", 0x10, -1},
    {L"<WinDir>", 0x24, -1},
    {L"<System>", 0x25, -1},
};

std::wstring Joined(std::wstring folder, std::wstring_view rest)
{
    if (folder.empty())
        return folder;
    if (!rest.empty()) {
        if (folder.back() != L'\\' && folder.back() != L'/')
            folder.push_back(L'\\');
        folder.append(rest);
    }
    return folder;
}

}  // namespace

std::span<const SystemFolderToken> SystemFolderTokens()
{
    return kTokens;
}

std::vector<std::wstring> ResolvePackageFolder(std::wstring_view destination, const std::wstring& installFolder,
                                               const SpecialFolderFn& specialFolder)
{
    const std::size_t end = destination.find_first_of(L"\\/");
    const std::wstring_view token = destination.substr(0, end);
    std::wstring_view rest = end == std::wstring_view::npos ? std::wstring_view() : destination.substr(end + 1);
    while (!rest.empty() && (rest.front() == L'\\' || rest.front() == L'/'))
        rest.remove_prefix(1);

    std::vector<std::wstring> folders;
    const auto add = [&folders, rest](std::wstring folder) {
        folder = Joined(std::move(folder), rest);
        if (!folder.empty())
            folders.push_back(std::move(folder));
    };
    if (token == L"<InstallPath>") {
        add(installFolder);
    } else if (token == L"<SamplePath>") {
        add(specialFolder(kCsidlCommonDesktopDirectory));
        add(specialFolder(kCsidlDesktopDirectory));
    } else {
        for (const SystemFolderToken& t : kTokens) {
            if (t.token != token)
                continue;
            add(specialFolder(t.csidl));
            if (t.secondChoice >= 0)
                add(specialFolder(t.secondChoice));
        }
    }
    return folders;
}

}  // namespace va::uninstall
