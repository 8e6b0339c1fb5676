#pragma once
// Text of "Uninstall.ulog": the lines the writer produces and the reader that
// turns the file's bytes back into entries.  No system call: the caller reads
// and writes the file and supplies the ANSI decoding.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/log_entry.h"

namespace va {

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

// Decodes one line of a file without byte-order mark (the thread's ANSI code
// page on the target).
using AnsiDecoder = std::function<std::wstring(std::string_view bytes)>;

// What a log yields.  The folders are as written: whether they still exist
// is for the caller to judge.
struct LogContents {
    std::optional<std::wstring> PreviousProduct;
    std::wstring InstallPath;
    std::wstring ShortcutPath;
    std::vector<LogEntry> Entries;
};

// Reads a log fed in pieces of any size.  Reading stops for good at a wrong
// version, a malformed line or a line longer than the reader's buffer; what
// was read before is kept.
class LogReader {
public:
    explicit LogReader(AnsiDecoder decode);

    // False once reading has stopped: no more bytes are wanted.
    bool Feed(std::string_view bytes);
    // End of the file: the unfinished last line still counts.
    void Finish();
    // A failed read: the unfinished line is dropped and reading stops.
    void Abort();

    bool Stopped() const { return stopped_; }
    // Whether the whole file was read: Finish came and no line was refused.
    bool Complete() const { return complete_; }
    // Lines ended so far, blank ones included; after a refusal, the number
    // of the refused line.
    std::size_t LinesSeen() const { return linesSeen_; }
    const LogContents& Contents() const { return contents_; }
    LogContents TakeContents() { return std::move(contents_); }

private:
    void EndLine();
    void ProcessLine(std::wstring text);
    bool ProcessHeader(std::wstring text);
    bool ProcessEntry(const std::wstring& text);

    AnsiDecoder decode_;
    LogContents contents_;
    std::string pending_;        // bytes of the current line
    bool atStart_ = true;        // no byte of the file seen yet
    bool utf16_ = false;
    bool markPending_ = false;   // the file's first byte was FF; its second decides
    bool stopped_ = false;
    bool complete_ = false;
    std::size_t linesSeen_ = 0;
    std::size_t lineCounter_ = 0;
    long version_ = 0;
};

// Convenience for a whole file in memory.
LogContents ReadLogBytes(std::string_view bytes, const AnsiDecoder& decode);

// One entry line, already trimmed at its end; nothing when it is malformed.
std::optional<LogEntry> ParseLogEntry(const std::wstring& text);

}  // namespace va
