#include "support/administrators_only_folder.h"

#include <sddl.h>

#include "support/advapi.h"
#include "support/handles.h"

namespace va {

bool CreateAdministratorsOnlyFolder(const std::wstring& path, DWORD& error)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    try {
        VA_ADVAPI(ConvertStringSecurityDescriptorToSecurityDescriptorW);
        if (!pConvertStringSecurityDescriptorToSecurityDescriptorW(kAdministratorsOnlyAccess, SDDL_REVISION_1,
                                                                    &descriptor, nullptr)) {
            error = ::GetLastError();
            return false;
        }
    } catch (...) {
        error = ERROR_PROC_NOT_FOUND;
        return false;
    }
    const UniqueLocal owned(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    if (!::CreateDirectoryW(path.c_str(), &attributes)) {
        error = ::GetLastError();
        return false;
    }
    error = ERROR_SUCCESS;
    return true;
}

}  // namespace va
