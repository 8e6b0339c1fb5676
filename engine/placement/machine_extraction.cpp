#include "engine/placement/machine_extraction.h"

#include <memory>

#include "engine/journal/same_path.h"
#include "engine/package/package_reader.h"
#include "engine/placement/users_access.h"

namespace va {

bool extract_package(std::istream& stream, const std::wstring& installationFolder,
                     const std::wstring& samplesFolder, const std::wstring& temporaryFolder,
                     const notification_callback& callback, HWND owner)
{
    // Every file placed compares its folders with the shared ones: each
    // folder's identity is read once per run, not once per file.
    auto samePath = std::make_shared<SamePathCache>();
    WindowsExtractionHost host(
        owner, [samePath](const std::wstring& a, const std::wstring& b) { return (*samePath)(a, b); },
        GrantUsersAccess);
    return extract_package(stream, FolderInputs{installationFolder, samplesFolder, temporaryFolder}, callback,
                           host);
}

}  // namespace va
