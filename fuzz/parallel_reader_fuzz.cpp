// The package reader on several processors against the reader on one, for
// any input: the same verification verdict (passes, fails, or the same
// bzip2 error), and the same extraction: result, notifications with their
// values, and files.
//
// First input byte: bit 0 clear, the rest of the input is the compressed
// stream as it is; bit 0 set, the rest is a plan for a package of several
// blocks (entries and their contents, then one change to the compressed
// stream and one answer of the callback), so that short inputs reach deep.
// Bits 1-2: processors of the parallel run, 2 to 5.

#include <boost/iostreams/filter/bzip2.hpp>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/package/core/memory_stream.h"
#include "engine/package/core/package_extractor.h"
#include "engine/package/core/package_reading.h"
#include "tests/common/bzip2_samples.h"
#include "tests/common/package_fixture.h"
#include "tests/common/package_verdict.h"

namespace {

using va::notification;

const va::FolderInputs kFolders{L"C:\\Install", L"Samples", L"C:\\Temp"};

// Reads the plan; past its end, zeros.
class Plan {
public:
    Plan(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    unsigned byte() { return at_ < size_ ? data_[at_++] : 0u; }
    unsigned word()
    {
        const unsigned high = byte();
        return high << 8 | byte();
    }
    std::string rest()
    {
        std::string r(reinterpret_cast<const char*>(data_ + std::min(at_, size_)), size_ - std::min(at_, size_));
        at_ = size_;
        return r;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

struct Built {
    std::string compressed;
    std::map<std::pair<std::size_t, int>, notification::result> answers;
};

// Up to four entries of up to 160 kB each (noise, zeros, or a pattern),
// compressed at level 1 (blocks of 100 kB), then changed once.
Built Build(Plan& plan)
{
    std::vector<package_test::FileSpec> files;
    const unsigned count = plan.byte() % 5;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned shape = plan.byte();
        const std::size_t size = (shape >> 2) * 2560 + plan.byte();
        std::string data;
        switch (shape % 4) {
        case 0: data = bzip2_test::Noise(size, plan.byte()); break;
        case 1: data.assign(size, '\0'); break;
        case 2: data = bzip2_test::Noise(size / 2, plan.byte()) + std::string(size - size / 2, 'r'); break;
        default: {
            const char c = static_cast<char>(plan.byte());
            for (std::size_t k = 0; k < size; ++k)
                data += static_cast<char>(c + k % 7 * (k / 4096));
        }
        }
        files.push_back({L"f" + std::to_wstring(i) + L".bin", i % 2 ? L"<InstallPath>" : L"<Temporary>\\sub", i, data});
    }
    const std::string archive = package_test::Archive(files);
    Built b;
    b.compressed = package_test::Compress(archive, 1);
    const auto blocks = bzip2_test::WalkAll(b.compressed).blocks;
    const unsigned change = plan.byte();
    const std::uint64_t where = plan.word();
    const std::uint64_t bits = 8 * b.compressed.size();
    switch (change % 8) {
    case 1:  // a bit flipped anywhere
        b.compressed = bzip2_test::Flip(b.compressed, where * bits / 65536);
        break;
    case 2:  // a bit flipped in a block, near its start or in its middle
        if (!blocks.empty()) {
            const auto& block = blocks[where % blocks.size()];
            b.compressed = bzip2_test::Flip(b.compressed, change & 8 ? (block.begin + block.end) / 2 : block.begin + 48 + (where >> 8) % 64);
        }
        break;
    case 3:  // cut at a block's first byte
        if (!blocks.empty())
            b.compressed.resize(blocks[where % blocks.size()].begin / 8 + (change >> 4) % 3);
        break;
    case 4:  // cut anywhere
        b.compressed.resize(where * b.compressed.size() / 65536);
        break;
    case 5:  // trailing bytes
        b.compressed += plan.rest();
        break;
    case 6: {  // two streams, cut anywhere in the archive
        const std::size_t cut = where * archive.size() / 65536;
        b.compressed = package_test::Compress(archive.substr(0, cut), 1) + package_test::Compress(archive.substr(cut), 1 + change % 9);
        break;
    }
    case 7:  // the end-of-stream marker or its CRC
        if (!blocks.empty())
            b.compressed = bzip2_test::Flip(b.compressed, std::min(bits - 1, blocks.back().end + where % 80));
        break;
    default:
        break;
    }
    const unsigned answer = plan.byte();
    if (answer % 4 == 1)
        b.answers[{4, static_cast<int>(plan.word() % 200)}] = notification::cancel;
    else if (answer % 4 == 2)
        b.answers[{2, static_cast<int>(answer >> 2) % 5}] = notification::skip;
    else if (answer % 4 == 3)
        b.answers[{3, static_cast<int>(answer >> 2) % 5}] = notification::cancel;
    return b;
}

std::string Verify(const std::string& compressed, unsigned processors)
{
    va::MemoryStream stream(compressed.data(), compressed.size());
    const std::string verdict = package_test::VerifyVerdict(stream, processors);
    return verdict + " " + std::to_string(stream.rdstate());
}

struct Outcome {
    bool ok = false;
    std::vector<std::wstring> events;
    std::map<std::wstring, std::string> files;
    bool operator==(const Outcome&) const = default;
};

Outcome Extract(const Built& b, unsigned processors)
{
    package_test::MemoryHost host;
    host.processors = processors;
    package_test::Recorder recorder;
    recorder.answers = b.answers;
    va::MemoryStream stream(b.compressed.data(), b.compressed.size());
    Outcome o;
    o.ok = va::extract_package(stream, kFolders, recorder.callback(), host);
    for (std::size_t i = 0; i < recorder.received.size(); ++i) {
        std::wstring e = recorder.events[i];
        if (auto* f = std::get_if<notification::finished>(&recorder.received[i].value))
            e += L" " + std::to_wstring(f->compressed) + L"/" + std::to_wstring(f->total);
        if (auto* x = std::get_if<notification::error>(&recorder.received[i].value))
            e += L" " + std::to_wstring(x->code.value()) + L" " + x->text;
        o.events.push_back(e);
    }
    o.files = std::move(host.files);
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned processors = 2 + ((data[0] >> 1) & 3);
    Plan plan(data + 1, size - 1);
    Built built;
    if (data[0] & 1)
        built = Build(plan);
    else
        built.compressed = plan.rest();
    if (Verify(built.compressed, 1) != Verify(built.compressed, processors))
        std::abort();
    const Outcome serial = Extract(built, 1);
    const Outcome parallel = Extract(built, processors);
    if (!(serial == parallel) || serial.ok != parallel.ok)
        std::abort();
    return 0;
}
