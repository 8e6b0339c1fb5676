#pragma once
// The operating-system side of the package reader: special folders, output
// files and their read-back.  The reader itself makes no system call.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "engine/package/core/shared_folders.h"

namespace va {

class ExtractionHost {
public:
    virtual ~ExtractionHost() = default;

    // A special folder by CSIDL, then its second choice (csidl::none for
    // none); raises unexpected (7) when neither is known.
    virtual std::wstring known_folder(int csidl, int second_choice) = 0;

    // Whether two paths name the same folder (the shared-folder list).
    virtual bool same_path(const std::wstring& a, const std::wstring& b) = 0;

    // The output file of one entry, its folders made and the shared folders
    // above it granted; nothing below `root` (the folder of the entry's
    // token) is reached through a link.  Raises, or returns a stream in a
    // failed state, when it cannot be opened.
    virtual std::unique_ptr<std::ostream> open_output_file(const std::wstring& destination, const std::wstring& root,
                                                           SharedFolderList& shared) = 0;

    // CRC-32 of a written file read back; raises on any failure.
    virtual std::uint32_t file_crc32(const std::wstring& path) = 0;

    // Pause before reading back a file another process still holds.
    virtual void wait_before_retry();

    // Processors the package may be decompressed on (1: on this thread only).
    virtual unsigned processor_count();
};

}  // namespace va
