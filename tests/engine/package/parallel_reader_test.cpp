// The reader on two processors with real files under Windows, against the
// reader on one: same notifications, same files.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/journal/same_path.h"
#include "engine/package/core/memory_stream.h"
#include "engine/package/package_reader.h"
#include "tests/common/bzip2_samples.h"
#include "tests/common/package_fixture.h"
#include "tests/common/scratch_folder.h"

namespace {

bool NoGrant(const std::wstring&, DWORD, BYTE) { return true; }

class Processors : public va::WindowsExtractionHost {
public:
    explicit Processors(unsigned count) : va::WindowsExtractionHost(nullptr, va::SamePath, NoGrant), count_(count) {}
    unsigned processor_count() override { return count_; }

private:
    unsigned count_;
};

struct Extraction {
    bool ok = false;
    std::vector<std::wstring> events;  // the scratch folder spelt <root>
    std::map<std::wstring, std::string> files;
};

Extraction Extract(const std::string& compressed, unsigned processors, const std::vector<package_test::FileSpec>& specs)
{
    va::test::ScratchFolder scratch;
    package_test::Recorder recorder;
    va::MemoryStream stream(compressed.data(), compressed.size());
    Processors host(processors);
    Extraction run;
    run.ok = va::extract_package(stream, {scratch.Path(), L"S", scratch / L"t"}, recorder.callback(), host);
    for (std::wstring e : recorder.events) {
        if (const auto at = e.find(scratch.Path()); at != std::wstring::npos)
            e.replace(at, scratch.Path().size(), L"<root>");
        run.events.push_back(e);
    }
    for (const auto& spec : specs) {
        const std::wstring name(va::file_name_of(spec.source));
        const std::wstring path = spec.folder == L"<Temporary>" ? scratch / (L"t\\" + name) : scratch / name;
        run.files[name] = va::test::ReadBytes(path);
    }
    return run;
}

}  // namespace

TEST(ParallelReader, WritesWhatTheReaderOnOneProcessorWrites)
{
    const std::vector<package_test::FileSpec> specs = {
        {L"first.bin", L"<InstallPath>", 1, bzip2_test::Noise(260000, 1)},
        {L"zeros.bin", L"<Temporary>", 5, std::string(3u << 20, '\0')},
        {L"second.bin", L"<InstallPath>", 3, bzip2_test::Noise(150000, 2)},
    };
    const std::string good = package_test::Compress(package_test::Archive(specs), 1);
    const auto blocks = bzip2_test::WalkAll(good).blocks;
    ASSERT_GE(blocks.size(), 5u);
    const std::string damaged = bzip2_test::Flip(good, (blocks[3].begin + blocks[3].end) / 2);
    for (const std::string* compressed : {&good, &damaged}) {
        const Extraction serial = Extract(*compressed, 1, specs);
        const Extraction parallel = Extract(*compressed, 2, specs);
        EXPECT_EQ(serial.ok, compressed == &good);
        EXPECT_EQ(parallel.ok, serial.ok);
        EXPECT_TRUE(parallel.events == serial.events);
        EXPECT_TRUE(parallel.files == serial.files);
    }
}
