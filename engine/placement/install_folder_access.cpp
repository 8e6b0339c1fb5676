#include "engine/placement/install_folder_access.h"

#include <sddl.h>
#include <shlobj.h>

#include "support/advapi.h"
#include "support/core/path_text.h"
#include "support/fault_point.h"
#include "support/handles.h"

namespace va {

DWORD CreateProtectedInstallFolder(UninstallLog& log, const std::wstring& folder)
{
    std::wstring path = folder;
    while (path.size() > 3 && IsPathSeparator(path.back()))
        path.pop_back();
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ERROR_SUCCESS : DWORD{ERROR_DIRECTORY};

    if (const DWORD error = log.RecordFolders(ParentFolder(path)); error != ERROR_SUCCESS)
        return error;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    try {
        VA_ADVAPI(ConvertStringSecurityDescriptorToSecurityDescriptorW);
        if (!pConvertStringSecurityDescriptorToSecurityDescriptorW(kInstallFolderAccess, SDDL_REVISION_1,
                                                                    &descriptor, nullptr))
            return ::GetLastError();
    } catch (...) {
        return ERROR_PROC_NOT_FOUND;
    }
    const UniqueLocal owned(descriptor);
    // Made with its list: there is no moment when it has its parent's.
    SECURITY_ATTRIBUTES security{sizeof(security), descriptor, FALSE};
    if (const DWORD fault = FaultPoint("create folder", ERROR_ACCESS_DENIED); fault != ERROR_SUCCESS)
        return fault;
    const std::uint32_t sequence = log.AnnounceFolder(path);
    if (!::CreateDirectoryW(path.c_str(), &security))
        return ::GetLastError();
    ::SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW, path.c_str(), nullptr);
    LogEntry& entry = log.NewEntries.emplace_back();
    entry.Type = CreatedFolder;
    entry.Path = path;
    entry.Outcome = 1;
    entry.JournalSequence = sequence;
    return ERROR_SUCCESS;
}

}  // namespace va
