#include "engine/placement/machine_extraction.h"

#include "engine/journal/same_path.h"
#include "engine/package/package_reader.h"
#include "engine/placement/users_access.h"

namespace va {

bool extract_package(std::istream& stream, const std::wstring& installationFolder,
                     const std::wstring& samplesFolder, const std::wstring& temporaryFolder,
                     const notification_callback& callback, HWND owner)
{
    WindowsExtractionHost host(owner, SamePath, GrantUsersAccess);
    return extract_package(stream, FolderInputs{installationFolder, samplesFolder, temporaryFolder}, callback,
                           host);
}

}  // namespace va
