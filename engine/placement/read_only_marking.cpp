#include "engine/placement/read_only_marking.h"

#include "engine/package/link_free_path.h"
#include "support/core/path_text.h"
#include "support/fault_point.h"
#include "support/handles.h"
#include "support/link_free_open.h"

namespace va {

DWORD MarkReadOnlyWithoutLinks(const std::wstring& root, const std::wstring& path)
{
    PinnedFolderChain chain;
    if (const DWORD error = chain.Pin(root, ParentFolder(path)); error != ERROR_SUCCESS)
        return error;
    UniqueFile file = OpenWithoutFollowing(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!file)
        return ::GetLastError();
    ItemFacts facts{};
    if (const DWORD error = CheckNotLink(path, file.get(), facts); error != ERROR_SUCCESS)
        return error == kLinkOnTheWay ? DWORD{ERROR_CANT_ACCESS_FILE} : error;
    if (facts.attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ERROR_DIRECTORY;
    if (facts.links > 1)
        return ERROR_TOO_MANY_LINKS;
    if (const DWORD fault = FaultPoint("set attributes", ERROR_ACCESS_DENIED); fault != ERROR_SUCCESS)
        return fault;
    if (!SetAttributesByHandle(file.get(), facts.attributes | FILE_ATTRIBUTE_READONLY))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

}  // namespace va
