// Any bytes given to the log reader: no overrun, no endless loop, and the
// same result whatever the size of the pieces it is fed.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/journal/core/log_format.h"
#include "engine/journal/core/log_reader.h"
#include "tests/common/log_bytes.h"

namespace {

using va::test::Latin1;

bool SameEntry(const va::LogEntry& a, const va::LogEntry& b)
{
    return a.Type == b.Type && a.Detail == b.Detail && a.Outcome == b.Outcome && a.Path == b.Path;
}

bool SameContents(const va::LogContents& a, const va::LogContents& b)
{
    if (a.PreviousProduct != b.PreviousProduct || a.InstallPath != b.InstallPath ||
        a.ShortcutPath != b.ShortcutPath || a.Entries.size() != b.Entries.size())
        return false;
    for (std::size_t i = 0; i < a.Entries.size(); ++i)
        if (!SameEntry(a.Entries[i], b.Entries[i]))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the piece size; the rest is the file.
    const std::size_t piece = data[0] % 17 + 1;
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

    const va::LogContents whole = va::ReadLogBytes(file, Latin1);

    va::LogReader reader(Latin1);
    for (std::size_t at = 0; at < file.size() && reader.Feed(file.substr(at, piece)); at += piece) {
    }
    reader.Finish();
    if (!SameContents(whole, reader.Contents()))
        std::abort();

    // Every entry read comes back alike through the writer's format.
    for (std::size_t i = 0; i < whole.Entries.size(); ++i) {
        std::wstring line = va::FormatLogEntry(i, whole.Entries[i]);
        line.resize(line.size() - 2);  // the reader trims the line break
        while (!line.empty() && (line.back() == L' ' || (line.back() >= L'\t' && line.back() <= L'\r')))
            line.pop_back();
        auto again = va::ParseLogEntry(line);
        if (!again || !SameEntry(*again, whole.Entries[i]))
            std::abort();
    }
    return 0;
}
