#include <gtest/gtest.h>

#include <boost/iostreams/filter/bzip2.hpp>

#include <algorithm>
#include <cstring>

#include "engine/package/core/memory_stream.h"
#include "engine/package/core/package_extractor.h"
#include "engine/package/core/package_reading.h"
#include "tests/common/bzip2_samples.h"
#include "tests/common/package_fixture.h"
#include "tests/common/package_verdict.h"

// The reader on several processors must be indistinguishable from the
// reader on one: same verdicts, same notifications with the same values,
// same files, the stream left the same way.

namespace {

using bzip2_test::Noise;
using package_test::FileSpec;
using va::notification;

const va::FolderInputs kFolders{L"C:\\Inst", L"Examples", L"C:\\Temp"};

std::vector<FileSpec> Files()
{
    return {
        {L"a\\first.bin", L"<InstallPath>", 1, Noise(230000, 11)},
        {L"empty.txt", L"<InstallPath>\\Lang", 0, ""},
        {L"zeros.dat", L"<Temporary>", 5, std::string(3u << 20, '\0')},  // in one block too large to keep
        {L"b/second.bin", L"<InstallPath>", 3, Noise(170000, 12)},
        {L"small.txt", L"<InstallPath>", 4, "tiny"},
    };
}

struct Script {
    std::map<std::pair<std::size_t, int>, notification::result> answers;
    std::map<std::wstring, std::string> alterOnDisk;
    std::map<std::wstring, std::error_code> openFailures;
};

struct Outcome {
    bool ok = false;
    std::vector<std::wstring> events;
    std::map<std::wstring, std::string> files;
    std::ios_base::iostate state{};
    std::streamoff position = 0;

    bool operator==(const Outcome&) const = default;
};

std::wstring Values(const notification& n)
{
    if (auto* f = std::get_if<notification::finished>(&n.value))
        return L" " + std::to_wstring(f->compressed) + L"/" + std::to_wstring(f->total);
    if (auto* e = std::get_if<notification::error>(&n.value))
        return L" " + std::to_wstring(e->code.value()) + L"@" +
               std::wstring(e->code.category().name(), e->code.category().name() + std::strlen(e->code.category().name())) +
               L" " + e->text;
    return L"";
}

Outcome Extract(const std::string& compressed, unsigned processors, const Script& script = {})
{
    package_test::MemoryHost host;
    host.processors = processors;
    host.alterOnDisk = script.alterOnDisk;
    host.openFailures = script.openFailures;
    package_test::Recorder recorder;
    recorder.answers = script.answers;
    va::MemoryStream stream(compressed.data(), compressed.size());
    Outcome o;
    o.ok = va::extract_package(stream, kFolders, recorder.callback(), host);
    for (std::size_t i = 0; i < recorder.events.size(); ++i)
        o.events.push_back(recorder.events[i] + Values(recorder.received[i]));
    o.files = host.files;
    o.state = stream.rdstate();
    stream.clear();
    o.position = stream.tellg();
    return o;
}

std::string Verify(const std::string& compressed, unsigned processors)
{
    va::MemoryStream stream(compressed.data(), compressed.size());
    std::string verdict = package_test::VerifyVerdict(stream, processors);
    verdict += " state " + std::to_string(stream.rdstate());
    stream.clear();
    return verdict + " at " + std::to_string(stream.tellg());
}

struct Case {
    std::string what;
    std::string compressed;
    Script script;
};

std::vector<Case> Cases()
{
    const std::vector<FileSpec> files = Files();
    const std::string archive = package_test::Archive(files);
    const std::string good = package_test::Compress(archive, 1);
    const auto blocks = bzip2_test::WalkAll(good).blocks;
    std::vector<Case> cases{{"whole", good, {}}};
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const auto& b = blocks[i];
        cases.push_back({"bit flipped in block " + std::to_string(i), bzip2_test::Flip(good, (b.begin + b.end) / 2), {}});
        cases.push_back({"CRC of block " + std::to_string(i), bzip2_test::Flip(good, b.begin + 70), {}});
        cases.push_back({"cut before block " + std::to_string(i), good.substr(0, b.begin / 8), {}});
    }
    cases.push_back({"combined CRC", bzip2_test::Flip(good, blocks.back().end + 77), {}});
    cases.push_back({"cut in the end marker", good.substr(0, good.size() - 2), {}});
    cases.push_back({"trailing garbage", good + "garbage", {}});
    cases.push_back({"trailing zero", good + std::string(1, '\0'), {}});
    const std::size_t half = archive.size() / 2 + 7;
    cases.push_back({"two streams", package_test::Compress(archive.substr(0, half), 1) +
                                        package_test::Compress(archive.substr(half), 2), {}});
    cases.push_back({"one byte too many", package_test::Compress(archive + "x", 1), {}});
    cases.push_back({"one byte too few", package_test::Compress(archive.substr(0, archive.size() - 1), 1), {}});
    cases.push_back({"level 9", package_test::Compress(archive, 9), {}});
    cases.push_back({"not bzip2", "BZh9 is what this begins with, and nothing else", {}});
    const auto answer = [](std::size_t index, int nth, notification::result r) {
        Script s;
        s.answers[{index, nth}] = r;
        return s;
    };
    cases.push_back({"cancel at progress 100", good, answer(4, 99, notification::cancel)});
    cases.push_back({"cancel at the second file_end", good, answer(3, 1, notification::cancel)});
    cases.push_back({"skip the first file", good, answer(2, 0, notification::skip)});
    cases.push_back({"skip the zeros", good, answer(2, 2, notification::skip)});
    Script altered;
    altered.alterOnDisk[L"C:\\Inst\\second.bin"] = "other";
    cases.push_back({"read back differs", good, altered});
    Script unopened;
    unopened.openFailures[L"C:\\Temp\\zeros.dat"] = std::error_code(5, std::system_category());
    cases.push_back({"cannot open", good, unopened});
    return cases;
}

}  // namespace

TEST(ParallelExtraction, SameNotificationsFilesAndVerdictsAsOnOneProcessor)
{
    for (const Case& c : Cases()) {
        const Outcome serial = Extract(c.compressed, 1, c.script);
        const std::string serialVerdict = Verify(c.compressed, 1);
        for (unsigned processors : {2u, 5u}) {
            const Outcome parallel = Extract(c.compressed, processors, c.script);
            EXPECT_EQ(parallel.ok, serial.ok) << c.what << " on " << processors;
            EXPECT_TRUE(parallel.events == serial.events) << c.what << " on " << processors;
            EXPECT_TRUE(parallel.files == serial.files) << c.what << " on " << processors;
            if (serial.ok) {  // after a failure the caller only closes the stream
                EXPECT_EQ(parallel.state, serial.state) << c.what << " on " << processors;
                EXPECT_EQ(parallel.position, serial.position) << c.what << " on " << processors;
            }
            EXPECT_EQ(Verify(c.compressed, processors), serialVerdict) << c.what << " on " << processors;
        }
    }
}

TEST(ParallelExtraction, TheWholePackageExtractsOnSeveralProcessors)
{
    const std::vector<FileSpec> files = Files();
    const std::string archive = package_test::Archive(files);
    const Outcome o = Extract(package_test::Compress(archive, 1), 2);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.files.at(L"C:\\Temp\\zeros.dat"), files[2].data);
    EXPECT_EQ(o.files.at(L"C:\\Inst\\second.bin"), files[3].data);
    // Progress in the serial chain's steps of 4096 bytes, the file ends between.
    EXPECT_NE(std::find(o.events.begin(), o.events.end(), L"progress 8192/" + std::to_wstring(archive.size())),
              o.events.end());
}
