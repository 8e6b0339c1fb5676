#include "engine/package/core/folder_tokens.h"

#include <vector>

#include "engine/package/core/compress_error.h"
#include "support/core/path_text.h"

namespace va {
namespace {

void append_element(std::wstring& path, const std::wstring& element)
{
    if (!path.empty() && !IsPathSeparator(path.back()))
        path += L'\\';
    path += element;
}

std::vector<std::wstring> split_elements(const std::wstring& path)
{
    std::vector<std::wstring> elements;
    std::wstring current;
    for (wchar_t c : path) {
        if (IsPathSeparator(c)) {
            if (!current.empty())
                elements.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        elements.push_back(std::move(current));
    return elements;
}

[[noreturn]] void refuse() { throw_compress_error(compress_errc::unexpected); }

}  // namespace

bool is_absolute_folder(const std::wstring& path) noexcept
{
    if (path.size() >= 2 && path[1] == L':' &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')))
        return true;
    return path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
}

std::wstring resolve_destination(const std::wstring& destination, const FolderInputs& inputs,
                                 const KnownFolderFn& knownFolder, const MarkSharedFn& markShared,
                                 std::wstring* root)
{
    if (root)
        root->clear();
    if (destination.empty() || IsPathSeparator(destination.front()))
        return destination;
    const std::size_t firstEnd = destination.find_first_of(L"\\/");
    const std::wstring first = destination.substr(0, firstEnd);
    if (first.front() != L'<' || first.back() != L'>')
        return destination;  // an ordinary path passes through

    const FolderToken* token = FindFolderToken(first);
    if (!token)
        refuse();  // would otherwise become a path relative to the current folder

    std::wstring result;
    std::wstring tokenFolder;  // the samples folder name lies below it
    bool marks = token->marksShared;
    switch (token->start) {
    case FolderStart::installation:
        result = inputs.installation;
        break;
    case FolderStart::temporary:
        result = inputs.temporary.empty() ? inputs.installation : inputs.temporary;
        break;
    case FolderStart::known:
        result = knownFolder(token->csidl, token->secondChoice);
        break;
    case FolderStart::samples:
        if (is_absolute_folder(inputs.samples)) {
            result = inputs.samples;
        } else {
            result = knownFolder(token->csidl, token->secondChoice);
            tokenFolder = result;
            if (!inputs.samples.empty()) {
                append_element(result, inputs.samples);
                markShared(result);
            }
        }
        break;
    }
    if (result.empty())
        refuse();  // a file would land relative to the current folder
    if (tokenFolder.empty())
        tokenFolder = result;
    if (root)
        *root = std::move(tokenFolder);

    const std::wstring rest = firstEnd == std::wstring::npos ? std::wstring() : destination.substr(firstEnd);
    std::vector<std::size_t> before;  // result length before each kept element, for ".."
    for (const std::wstring& element : split_elements(rest)) {
        if (element == L".")
            continue;
        if (element == L"..") {
            if (before.empty())
                refuse();  // would climb above the token's folder
            result.resize(before.back());
            before.pop_back();
            continue;
        }
        before.push_back(result.size());
        append_element(result, element);
        if (marks)
            markShared(result);
    }
    return result;
}

}  // namespace va
