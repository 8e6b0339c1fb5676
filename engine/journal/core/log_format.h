#pragma once
// Text of "Uninstall.ulog": the lines the writer produces (the reader:
// engine/journal/core/log_reader.h).  No system call: the caller writes the
// file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal/core/log_entry.h"

namespace va {

// The log's name, in the uninstaller's folder.
inline constexpr const wchar_t* kLogFileName = L"Uninstall.ulog";

// The log beside a program (the uninstaller); empty when the path names no
// folder.
std::wstring LogBeside(const std::wstring& program);

inline constexpr std::size_t kLogLineBufferBytes = 1024;  // one line, its break included
inline constexpr std::uint32_t kLogAttributesAfterWrite = 0x2021;  // read-only, archive, not indexed

// The six header lines, each with its "// " and CR LF.
std::vector<std::wstring> FormatLogHeader(const std::wstring& productDisplayName,
                                          const std::wstring& previousProduct,
                                          const std::wstring& installFolder,
                                          const std::wstring& startMenuFolder);

// One entry line with its CR LF.
std::wstring FormatLogEntry(std::size_t index, const LogEntry& entry);

// The text written (and stored) as the path of the types that name no file;
// nothing for the others.
std::optional<std::wstring> FixedLogPath(std::int32_t type, const std::wstring& productKey);

// UTF-16 little-endian bytes of a text, without byte-order mark.
std::string EncodeUtf16Le(std::wstring_view text);
inline constexpr std::string_view kUtf16LeMark{"\xFF\xFE", 2};

}  // namespace va
