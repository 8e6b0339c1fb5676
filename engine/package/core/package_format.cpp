#include "engine/package/core/package_format.h"

#include "engine/package/core/compress_error.h"

namespace va {
namespace {

// Bounds-checked reader over the table buffer: every read that does not fit
// raises, so a damaged table never reads past its buffer.
class TableReader {
public:
    TableReader(const unsigned char* bytes, std::size_t length) : p_(bytes), left_(length) {}

    std::uint64_t take(int size)
    {
        need(static_cast<std::uint64_t>(size));
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= static_cast<std::uint64_t>(p_[i]) << (8 * i);
        p_ += size;
        left_ -= static_cast<std::size_t>(size);
        return value;
    }

    std::wstring text()
    {
        const std::uint64_t units = take(4);
        need(units * 2);  // units < 2^32, so no overflow
        std::wstring result;
        result.reserve(static_cast<std::size_t>(units));
        for (std::uint64_t i = 0; i < units; ++i)
            result.push_back(static_cast<wchar_t>(p_[2 * i] | (p_[2 * i + 1] << 8)));
        p_ += units * 2;
        left_ -= static_cast<std::size_t>(units * 2);
        return result;
    }

    std::size_t left() const noexcept { return left_; }

private:
    void need(std::uint64_t size) const
    {
        if (size > left_)
            throw_compress_error(compress_errc::unexpected);
    }

    const unsigned char* p_;
    std::size_t left_;
};

void put(std::vector<unsigned char>& out, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void put_text(std::vector<unsigned char>& out, const std::wstring& text)
{
    put(out, text.size(), 4);
    for (wchar_t c : text)
        put(out, static_cast<std::uint16_t>(c), 2);
}

}  // namespace

std::uint64_t read_table_length(const unsigned char* bytes) noexcept
{
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return value;
}

bool plausible_table_length(std::uint64_t length) noexcept
{
    return length >= kTableHeaderSize && length <= kMaximumTableLength;
}

std::vector<PackageEntry> parse_table(const unsigned char* bytes, std::size_t length)
{
    if (!plausible_table_length(length))
        throw_compress_error(compress_errc::unexpected);
    TableReader reader(bytes + 8, length - 8);
    const std::uint64_t count = reader.take(4);
    // Every record needs at least its fixed fields: a count that cannot fit is
    // refused before anything is allocated for it.
    if (count > reader.left() / kMinimumRecordSize)
        throw_compress_error(compress_errc::unexpected);
    std::vector<PackageEntry> table(static_cast<std::size_t>(count));
    for (PackageEntry& entry : table) {
        entry.source = reader.text();
        entry.destination = reader.text();
        entry.kind = static_cast<std::uint32_t>(reader.take(4));
        entry.size = reader.take(8);
        entry.crc = static_cast<std::uint32_t>(reader.take(4));
    }
    if (reader.left() != 0)  // the layout has no padding
        throw_compress_error(compress_errc::unexpected);
    return table;
}

std::vector<unsigned char> encode_table(const std::vector<PackageEntry>& entries)
{
    std::vector<unsigned char> out;
    put(out, 0, 8);
    put(out, entries.size(), 4);
    for (const PackageEntry& entry : entries) {
        put_text(out, entry.source);
        put_text(out, entry.destination);
        put(out, entry.kind, 4);
        put(out, entry.size, 8);
        put(out, entry.crc, 4);
    }
    const std::uint64_t length = out.size();
    for (int i = 0; i < 8; ++i)
        out[static_cast<std::size_t>(i)] = static_cast<unsigned char>(length >> (8 * i));
    return out;
}

std::wstring_view file_name_of(std::wstring_view source) noexcept
{
    const std::size_t cut = source.find_last_of(L"\\/:");
    return cut == std::wstring_view::npos ? source : source.substr(cut + 1);
}

}  // namespace va
