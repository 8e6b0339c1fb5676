#pragma once
// The package reader on Windows: the portable extractor with the shell's
// folders, real output files and their read-back.

#include <windows.h>

#include <istream>
#include <string>

#include "engine/core/extraction_host.h"
#include "engine/core/notification.h"
#include "engine/core/package_extractor.h"
#include "engine/output_file.h"

namespace va {

class WindowsExtractionHost : public ExtractionHost {
public:
    using SamePathFn = bool (*)(const std::wstring&, const std::wstring&);

    WindowsExtractionHost(HWND owner, SamePathFn samePath, GrantFn grant);

    std::wstring known_folder(int csidl, int secondChoice) override;
    bool same_path(const std::wstring& a, const std::wstring& b) override;
    std::unique_ptr<std::ostream> open_output_file(const std::wstring& destination,
                                                   SharedFolderList& shared) override;
    std::uint32_t file_crc32(const std::wstring& path) override;

private:
    HWND owner_;
    SamePathFn samePath_;
    GrantFn grant_;
};

// Extracts with the shell's folders (owner window `owner`), SamePath for
// the shared folders and the Users rights of the file placement.
bool extract_package(std::istream& stream, const std::wstring& installationFolder,
                     const std::wstring& samplesFolder, const std::wstring& temporaryFolder,
                     const notification_callback& callback, HWND owner = nullptr);

}  // namespace va
