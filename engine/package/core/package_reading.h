#pragma once
// Reading a package stream: the serial decompression, with the parallel one
// in front of it where the stream allows, into an extractor or into nothing.

#include <istream>

#include "engine/package/core/extraction_host.h"
#include "engine/package/core/folder_tokens.h"
#include "engine/package/core/notification.h"

namespace va {

// Decompresses the package stream into the extractor.  On failure one
// error notification has been sent and the result is false.  A stream read
// in place from memory is decoded on the host's processors, with the same
// notifications as on one.
bool extract_package(std::istream& stream, const FolderInputs& folders,
                     const notification_callback& callback, ExtractionHost& host);

// Decompresses the whole stream into nothing: true when it then is in a
// good state with no byte left.  A bzip2 error escapes.  A stream read in
// place from memory is decoded on all processors (`processors`: how many
// to use); when that cannot vouch for it, the plain decompression decides.
bool verify_package(std::istream& stream);
bool verify_package(std::istream& stream, unsigned processors);

}  // namespace va
