#include "engine/package/package_reader.h"

#include "engine/package/known_folder.h"

namespace va {

WindowsExtractionHost::WindowsExtractionHost(HWND owner, SamePathFn samePath, GrantFn grant)
    : owner_(owner), samePath_(std::move(samePath)), grant_(std::move(grant))
{
}

std::wstring WindowsExtractionHost::known_folder(int csidl, int secondChoice)
{
    return va::known_folder(csidl, secondChoice, owner_);
}

bool WindowsExtractionHost::same_path(const std::wstring& a, const std::wstring& b) { return samePath_(a, b); }

std::unique_ptr<std::ostream> WindowsExtractionHost::open_output_file(const std::wstring& destination,
                                                                      const std::wstring& root,
                                                                      SharedFolderList& shared)
{
    return OpenOutputFile(destination, root, shared, grant_, &pinned_);
}

std::uint32_t WindowsExtractionHost::file_crc32(const std::wstring& path) { return va::file_crc32(path); }

}  // namespace va
