#include "uninstaller/core/package_folders.h"

namespace va::uninstall {
namespace {

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
    const FolderToken* known = FindFolderToken(token);
    if (!known)
        return folders;
    switch (known->start) {
    case FolderStart::installation:
        add(installFolder);
        break;
    case FolderStart::samples:  // both desktops: the samples folder's name followed the language
    case FolderStart::known:
        add(specialFolder(known->csidl));
        if (known->secondChoice != csidl::none)
            add(specialFolder(known->secondChoice));
        break;
    case FolderStart::temporary:
        break;
    }
    return folders;
}

}  // namespace va::uninstall
