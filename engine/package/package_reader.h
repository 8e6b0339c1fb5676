#pragma once
// The package reader on Windows: the portable extractor with the shell's
// folders, real output files and their read-back.

#include <windows.h>

#include <functional>
#include <istream>
#include <string>

#include "engine/package/core/extraction_host.h"
#include "engine/package/core/notification.h"
#include "engine/package/core/package_reading.h"
#include "engine/package/output_file.h"

namespace va {

class WindowsExtractionHost : public ExtractionHost {
public:
    using SamePathFn = std::function<bool(const std::wstring&, const std::wstring&)>;

    WindowsExtractionHost(HWND owner, SamePathFn samePath, GrantFn grant);

    std::wstring known_folder(int csidl, int secondChoice) override;
    bool same_path(const std::wstring& a, const std::wstring& b) override;
    std::unique_ptr<std::ostream> open_output_file(const std::wstring& destination, const std::wstring& root,
                                                   SharedFolderList& shared) override;
    std::uint32_t file_crc32(const std::wstring& path) override;

private:
    HWND owner_;
    SamePathFn samePath_;
    GrantFn grant_;
    // The folders of the last file written, held for the next one; let go
    // with the host, when the extraction ends.
    PinnedFolderChain pinned_;
};

}  // namespace va
