#include "engine/journal/core/log_reader.h"

#include <utility>

#include "engine/journal/core/log_format.h"
#include "engine/journal/core/log_texts.h"

namespace va {
namespace {

using namespace log_text;

bool IsSpace(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

void TrimRight(std::wstring& s)
{
    std::size_t end = s.size();
    while (end > 0 && IsSpace(s[end - 1]))
        --end;
    s.erase(end);
}

void TrimLeft(std::wstring& s)
{
    std::size_t begin = 0;
    while (begin < s.size() && IsSpace(s[begin]))
        ++begin;
    s.erase(0, begin);
}

void Trim(std::wstring& s)
{
    TrimRight(s);
    TrimLeft(s);
}

// A cursor over one entry line with the extraction rules of a text stream:
// white space is skipped before every item.
class Cursor {
public:
    explicit Cursor(const std::wstring& text) : text_(text) {}

    void SkipSpace()
    {
        while (pos_ < text_.size() && IsSpace(text_[pos_]))
            ++pos_;
    }

    std::optional<long long> Decimal()
    {
        SkipSpace();
        bool negative = false;
        if (pos_ < text_.size() && (text_[pos_] == L'+' || text_[pos_] == L'-'))
            negative = text_[pos_++] == L'-';
        return Digits(10, negative);
    }

    std::optional<long long> Hexadecimal()
    {
        SkipSpace();
        return Digits(16, false);
    }

    bool Char(wchar_t expected)
    {
        SkipSpace();
        if (pos_ >= text_.size() || text_[pos_] != expected)
            return false;
        ++pos_;
        return true;
    }

    std::optional<wchar_t> AnyChar()
    {
        SkipSpace();
        if (pos_ >= text_.size())
            return std::nullopt;
        return text_[pos_++];
    }

    std::wstring Word()
    {
        SkipSpace();
        std::size_t begin = pos_;
        while (pos_ < text_.size() && !IsSpace(text_[pos_]))
            ++pos_;
        return text_.substr(begin, pos_ - begin);
    }

    std::wstring Rest()
    {
        SkipSpace();
        return text_.substr(pos_);
    }

private:
    static int DigitValue(wchar_t c)
    {
        if (c >= L'0' && c <= L'9')
            return c - L'0';
        if (c >= L'a' && c <= L'f')
            return c - L'a' + 10;
        if (c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        return 99;
    }

    // At least one digit; a value beyond 32 bits counts as unreadable.
    std::optional<long long> Digits(int base, bool negative)
    {
        constexpr long long kLimit = 0xFFFFFFFFll;
        long long value = 0;
        std::size_t begin = pos_;
        while (pos_ < text_.size()) {
            int digit = DigitValue(text_[pos_]);
            if (digit >= base)
                break;
            value = value * base + digit;
            if (value > kLimit)
                return std::nullopt;
            ++pos_;
        }
        if (pos_ == begin)
            return std::nullopt;
        return negative ? -value : value;
    }

    const std::wstring& text_;
    std::size_t pos_ = 0;
};

// Removes the first occurrence of a label; false when it is missing.  A
// label ending in a space also matches at the very end of the line without
// that space, since the reader trims trailing white space before looking.
bool RemoveLabel(std::wstring& text, std::wstring_view label)
{
    std::size_t at = text.find(label);
    if (at != std::wstring::npos) {
        text.erase(at, label.size());
        return true;
    }
    if (!label.empty() && label.back() == L' ') {
        std::wstring_view bare = label.substr(0, label.size() - 1);
        if (text.size() >= bare.size() && text.compare(text.size() - bare.size(), bare.size(), bare) == 0) {
            text.erase(text.size() - bare.size());
            return true;
        }
    }
    return false;
}


}  // namespace

std::optional<LogEntry> ParseLogEntry(const std::wstring& text)
{
    Cursor in(text);
    auto index = in.Decimal();
    if (!index || *index < 0)
        return std::nullopt;
    if (!in.Char(L':'))
        return std::nullopt;
    auto code = in.Hexadecimal();
    if (!code || (*code >> 8) > 7)
        return std::nullopt;
    if (!in.Char(L':'))
        return std::nullopt;
    auto outcome = in.AnyChar();
    if (!outcome || (*outcome != L'0' && *outcome != L'1'))
        return std::nullopt;
    if (in.Word() != kUpdateSeparator)
        return std::nullopt;

    LogEntry entry;
    entry.Type = static_cast<std::int32_t>(*code >> 8);
    entry.Outcome = *outcome == L'1' ? 1 : 0;
    const auto low = static_cast<std::int32_t>(*code & 0xFF);
    entry.Detail = low == 0xFF ? -1 : low;
    if (entry.Type != UninstallKey && entry.Type != FileTypes)
        entry.Path = in.Rest();
    return entry;
}

LogReader::LogReader(AnsiDecoder decode) : decode_(std::move(decode)) {}

bool LogReader::Feed(std::string_view bytes)
{
    for (char byte : bytes) {
        if (stopped_)
            return false;
        if (atStart_) {
            // The mark needs two bytes; a lone FF waits for its partner.
            if (!markPending_ && static_cast<unsigned char>(byte) == 0xFF) {
                markPending_ = true;
                continue;
            }
            atStart_ = false;
            if (markPending_) {
                markPending_ = false;
                if (static_cast<unsigned char>(byte) == 0xFE) {
                    utf16_ = true;
                    continue;
                }
                pending_.push_back('\xFF');
            }
        }
        pending_.push_back(byte);
        if (pending_.size() > kLogLineBufferBytes) {
            // Longer than any line the writer makes: malformed.
            pending_.clear();
            ++linesSeen_;
            stopped_ = true;
            return false;
        }
        const bool lineEnd =
            utf16_ ? pending_.size() % 2 == 0 && pending_[pending_.size() - 2] == '\n' &&
                         pending_.back() == '\0'
                   : byte == '\n';
        if (lineEnd)
            EndLine();
    }
    return !stopped_;
}

void LogReader::Finish()
{
    if (stopped_)
        return;
    if (markPending_) {
        markPending_ = false;
        pending_.push_back('\xFF');
    }
    EndLine();
    complete_ = !stopped_;
    stopped_ = true;
}

void LogReader::Abort()
{
    pending_.clear();
    stopped_ = true;
}

void LogReader::EndLine()
{
    std::string bytes = std::exchange(pending_, std::string());
    if (bytes.empty())
        return;  // only at the end of the file: not a line
    ++linesSeen_;
    std::wstring text;
    if (utf16_) {
        text.reserve(bytes.size() / 2);
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    } else {
        text = decode_ ? decode_(bytes) : std::wstring();
    }
    ProcessLine(std::move(text));
}

void LogReader::ProcessLine(std::wstring text)
{
    // A NUL cannot stand in a path or a header; it would cut the text short.
    if (text.find(L'\0') != std::wstring::npos) {
        stopped_ = true;
        return;
    }
    TrimRight(text);
    bool ok = text.size() >= 2 && text[0] == L'/' && text[1] == L'/' ? ProcessHeader(std::move(text))
                                                                     : ProcessEntry(text);
    ++lineCounter_;
    if (!ok)
        stopped_ = true;
}

bool LogReader::ProcessHeader(std::wstring text)
{
    std::size_t slashes = text.find_first_not_of(L'/');
    text.erase(0, slashes == std::wstring::npos ? text.size() : slashes);
    TrimLeft(text);

    switch (lineCounter_) {
    case 0: {
        std::size_t at = text.find(kVersionLabel);
        if (at == std::wstring::npos)
            return false;
        text.erase(at, kVersionLabel.size());
        Cursor in(text);
        auto version = in.Decimal();
        version_ = version && *version == 1 ? 1 : 0;
        return version_ == 1;
    }
    case 2: {
        std::size_t at = text.find(kInstallLabel);
        if (at == std::wstring::npos)
            return false;
        text.erase(at, kInstallLabel.size());
        std::size_t cut = text.find(kUpdateSeparator);
        if (cut != std::wstring::npos)
            text.erase(cut);
        Trim(text);
        contents_.PreviousProduct = std::move(text);
        return true;
    }
    case 3:
    case 4: {
        if (!RemoveLabel(text, lineCounter_ == 3 ? kInstallPathLabel : kShortcutPathLabel))
            return false;
        Trim(text);
        (lineCounter_ == 3 ? contents_.InstallPath : contents_.ShortcutPath) = std::move(text);
        return true;
    }
    default:
        return true;
    }
}

bool LogReader::ProcessEntry(const std::wstring& text)
{
    if (version_ != 1)
        return false;
    auto entry = ParseLogEntry(text);
    if (!entry)
        return false;
    contents_.Entries.push_back(std::move(*entry));
    return true;
}

LogContents ReadLogBytes(std::string_view bytes, const AnsiDecoder& decode)
{
    LogReader reader(decode);
    if (reader.Feed(bytes))
        reader.Finish();
    return reader.TakeContents();
}

}  // namespace va
