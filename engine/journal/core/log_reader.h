#pragma once
// The reader of "Uninstall.ulog": turns the file's bytes back into entries.
// No system call: the caller reads the file and supplies the ANSI decoding.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal/core/log_entry.h"

namespace va {

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
