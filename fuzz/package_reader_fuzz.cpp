// Any bytes given to the package reader, either as the decompressed archive
// or as the compressed stream: no overrun, no unbounded allocation, no
// endless loop, exactly one error for a failure, and the same outcome
// whether the archive arrives in small blocks or through the real chain.
// First input byte: bit 0 selects compressed input, the rest a block size.

#include <bzlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "engine/package/core/compress_error.h"
#include "engine/package/core/crc32.h"
#include "engine/package/core/package_extractor.h"
#include "engine/package/core/package_reading.h"
#include "tests/common/package_fixture.h"

namespace {

// Output files are checksummed, never kept.
class ChecksumHost : public va::ExtractionHost {
public:
    std::map<std::wstring, std::uint32_t> files;

    std::wstring known_folder(int, int) override { return L"C:\\Known"; }
    bool same_path(const std::wstring& a, const std::wstring& b) override { return a == b; }
    std::unique_ptr<std::ostream> open_output_file(const std::wstring& destination, const std::wstring&,
                                                   va::SharedFolderList&) override
    {
        return std::make_unique<Sink>(files[destination]);
    }
    std::uint32_t file_crc32(const std::wstring& path) override { return files.at(path); }
    void wait_before_retry() override {}

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(std::uint32_t& target) : target_(target) { target_ = 0; }
        ~Buffer() override { target_ = crc_.value(); }

    protected:
        std::streamsize xsputn(const char* s, std::streamsize n) override
        {
            crc_.update(s, static_cast<std::size_t>(n));
            return n;
        }
        int_type overflow(int_type c) override
        {
            const char ch = traits_type::to_char_type(c);
            crc_.update(&ch, 1);
            return c;
        }

    private:
        std::uint32_t& target_;
        va::Crc32 crc_;
    };
    class Sink : public std::ostream {
    public:
        explicit Sink(std::uint32_t& target) : std::ostream(nullptr), buffer_(target) { rdbuf(&buffer_); }

    private:
        Buffer buffer_;
    };
};

const va::FolderInputs kFolders{L"C:\\Install", L"Samples", L"C:\\Temp"};

struct Outcome {
    bool ok = false;
    int errors = 0;
    std::map<std::wstring, std::uint32_t> files;
};

Outcome ThroughTheChain(const std::string& compressed)
{
    Outcome o;
    ChecksumHost host;
    std::istringstream stream(compressed);
    o.ok = va::extract_package(
        stream, kFolders,
        [&o](const va::notification& n) {
            o.errors += n.index() == 5;
            return va::notification::proceed;
        },
        host);
    o.files = host.files;
    return o;
}

Outcome InBlocks(const std::string& archive, std::size_t block)
{
    Outcome o;
    ChecksumHost host;
    va::PackageExtractor extractor(kFolders, nullptr, host);
    try {
        package_test::WriteInBlocks(extractor, archive, block);
        extractor.finish();
        o.ok = extractor.complete();
    } catch (const std::exception&) {
        o.ok = false;
        // Once failed, the extractor takes and discards everything.
        if (extractor.write("x", 1) != 1)
            std::abort();
    }
    o.files = host.files;
    return o;
}

std::string Compress(const std::string& bytes)
{
    std::string out(bytes.size() + bytes.size() / 100 + 600, '\0');
    unsigned int length = static_cast<unsigned int>(out.size());
    if (BZ2_bzBuffToBuffCompress(out.data(), &length, const_cast<char*>(bytes.data()),
                                 static_cast<unsigned int>(bytes.size()), 1, 0, 0) != BZ_OK)
        std::abort();
    out.resize(length);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool compressed = data[0] & 1;
    const std::size_t block = (data[0] >> 1) + 1;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    if (compressed) {
        const Outcome o = ThroughTheChain(bytes);
        if (o.errors != (o.ok ? 0 : 1))
            std::abort();
        return 0;
    }
    const Outcome blocks = InBlocks(bytes, block);
    const Outcome chain = ThroughTheChain(Compress(bytes));
    if (chain.errors != (chain.ok ? 0 : 1) || blocks.ok != chain.ok)
        std::abort();
    if (blocks.ok && blocks.files != chain.files)
        std::abort();
    return 0;
}
