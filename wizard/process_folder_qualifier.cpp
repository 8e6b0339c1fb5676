#include "wizard/process_folder_qualifier.h"

#include <windows.h>
#include <shlwapi.h>

namespace va {
namespace {

// A failed call that left no error code still refuses the text.
std::uint32_t LastErrorOr(std::uint32_t fallback)
{
    const DWORD error = ::GetLastError();
    return error ? error : fallback;
}

class ProcessQualifier final : public FolderQualifier {
public:
    std::uint32_t GetCurrentFolder(std::wstring& folder) override
    {
        wchar_t buffer[MAX_PATH] = {};
        const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, buffer);
        if (length == 0)
            return LastErrorOr(static_cast<std::uint32_t>(E_FAIL));
        if (length >= MAX_PATH)
            return kTypedFolderTooLong;
        folder.assign(buffer, length);
        return 0;
    }

    std::uint32_t SetCurrentFolder(const std::wstring& folder) override
    {
        if (!::SetCurrentDirectoryW(folder.c_str()))
            return LastErrorOr(static_cast<std::uint32_t>(E_FAIL));
        return 0;
    }

    std::optional<std::wstring> Qualify(const std::wstring& text) override
    {
        wchar_t full[MAX_PATH] = {};
        if (!::PathSearchAndQualifyW(text.c_str(), full, MAX_PATH))
            return std::nullopt;
        return std::wstring(full);
    }
};

}  // namespace

FolderQualifier& ProcessFolderQualifier()
{
    static ProcessQualifier qualifier;
    return qualifier;
}

}  // namespace va
