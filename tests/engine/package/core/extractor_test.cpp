#include <gtest/gtest.h>

#include <boost/iostreams/filter/bzip2.hpp>

#include <algorithm>
#include <sstream>

#include "engine/package/core/compress_error.h"
#include "engine/package/core/package_extractor.h"
#include "engine/package/core/package_reading.h"
#include "tests/common/package_fixture.h"

namespace {

using package_test::Archive;
using package_test::Compress;
using package_test::FileSpec;
using package_test::MemoryHost;
using package_test::Recorder;
using va::notification;

constexpr std::size_t kStart = 0, kFinished = 1, kBegin = 2, kEnd = 3, kProgress = 4, kError = 5;

const va::FolderInputs kFolders{L"C:\\Inst", L"Trelvane Examples", L"C:\\Temp\\t"};

std::vector<FileSpec> ThreeFiles()
{
    return {
        {L"build\\Lang\\En.dll", L"<InstallPath>\\Lang", 0, std::string(5000, 'L')},
        {L"build/Trelvane.exe", L"<InstallPath>", 1, "program bytes"},
        {L"DSetup.dll", L"<Temporary>", 5, std::string(9000, 'D') + "end"},
    };
}

struct Extraction {
    MemoryHost host;
    Recorder recorder;
    bool ok = false;

    void extract(const std::string& compressed)
    {
        std::istringstream stream(compressed);
        ok = va::extract_package(stream, kFolders, recorder.callback(), host);
    }

    std::error_code code() const
    {
        const notification::error* e = recorder.error();
        return e ? e->code : std::error_code();
    }
};

std::error_code Compress_(va::compress_errc e) { return va::make_error_code(e); }

}  // namespace

TEST(Extractor, PlacesEveryFileWithItsResolvedPath)
{
    Extraction run;
    const std::vector<FileSpec> files = ThreeFiles();
    run.extract(Compress(Archive(files)));
    ASSERT_TRUE(run.ok) << run.code().message();
    EXPECT_EQ(run.host.files.at(L"C:\\Inst\\Lang\\En.dll"), files[0].data);
    EXPECT_EQ(run.host.files.at(L"C:\\Inst\\Trelvane.exe"), files[1].data);
    EXPECT_EQ(run.host.files.at(L"C:\\Temp\\t\\DSetup.dll"), files[2].data);
    EXPECT_EQ(run.recorder.count(kStart), 1);
    EXPECT_EQ(run.recorder.count(kBegin), 3);
    EXPECT_EQ(run.recorder.count(kEnd), 3);
    EXPECT_EQ(run.recorder.count(kError), 0);
    ASSERT_EQ(run.recorder.received.back().index(), kFinished);
    const auto& finished = std::get<notification::finished>(run.recorder.received.back().value);
    const std::string archive = Archive(files);
    EXPECT_EQ(finished.total, archive.size());
    EXPECT_EQ(finished.compressed, Compress(archive).size());

    // Progress never goes back and ends at the total.
    std::uint64_t last = 0;
    for (const notification& n : run.recorder.received)
        if (auto* p = std::get_if<notification::progress>(&n.value)) {
            EXPECT_GE(p->processed, last);
            EXPECT_EQ(p->total, archive.size());
            last = p->processed;
        }
    EXPECT_EQ(last, archive.size());
}

TEST(Extractor, ZeroEntriesIsOneProgressAndNoFile)
{
    Extraction run;
    const std::string archive = Archive(std::vector<FileSpec>{});
    ASSERT_EQ(archive.size(), 12u);
    run.extract(Compress(archive));
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.recorder.received.size(), 3u);
    EXPECT_EQ(run.recorder.received[0].index(), kStart);
    const auto& p = std::get<notification::progress>(run.recorder.received[1].value);
    EXPECT_EQ(p.processed, 12u);
    EXPECT_EQ(p.total, 12u);
    EXPECT_EQ(run.recorder.received[2].index(), kFinished);
    EXPECT_TRUE(run.host.opened.empty());
}

TEST(Extractor, StreamsThatDoNotMatchTheirTableFailOnce)
{
    const std::string good = Archive(ThreeFiles());
    struct Case {
        const char* what;
        std::string compressed;
        std::error_code code;
        std::size_t filesWritten;
    };
    std::string cut = good;
    cut.pop_back();
    std::string damaged = Compress(good);
    for (std::size_t i = damaged.size() / 3; i < damaged.size() / 3 + 8; ++i)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    std::string truncatedBzip2 = Compress(good);
    truncatedBzip2.resize(truncatedBzip2.size() - 20);
    std::string shortTable = Archive(ThreeFiles()).substr(0, 30);
    std::string tinyLength(8, '\0');
    tinyLength[0] = 11;
    std::string hugeLength(8, '\xFF');
    hugeLength += std::string(100000, 'x');
    const Case cases[] = {
        {"empty resource", "", Compress_(va::compress_errc::unexpected), 0},
        {"one byte more", Compress(good + "!"), Compress_(va::compress_errc::unexpected), 3},
        {"one byte less", Compress(cut), Compress_(va::compress_errc::unexpected), 3},
        {"ends inside the table", Compress(shortTable), Compress_(va::compress_errc::unexpected), 0},
        {"table length below 12", Compress(tinyLength + "abcd"), Compress_(va::compress_errc::unexpected), 0},
        {"table length beyond all bounds", Compress(hugeLength), Compress_(va::compress_errc::unexpected), 0},
        {"damaged bzip2 data", damaged, Compress_(va::compress_errc::bzip2_error), 99},
        {"bzip2 stream cut short", truncatedBzip2, Compress_(va::compress_errc::bzip2_error), 99},
        {"not bzip2 at all", good, Compress_(va::compress_errc::bzip2_error), 0},
    };
    for (const Case& c : cases) {
        Extraction run;
        run.extract(c.compressed);
        EXPECT_FALSE(run.ok) << c.what;
        EXPECT_EQ(run.recorder.count(kError), 1) << c.what;
        EXPECT_EQ(run.recorder.count(kFinished), 0) << c.what;
        EXPECT_EQ(run.code(), c.code) << c.what << ": " << run.code().message();
        if (c.filesWritten != 99) {
            EXPECT_EQ(run.host.opened.size(), c.filesWritten) << c.what;
        }
        EXPECT_EQ(run.recorder.received.back().index(), kError) << c.what;
    }
}

TEST(Extractor, WrongCrcFailsWithThreeAndLeavesTheFile)
{
    Extraction run;
    std::vector<FileSpec> files = ThreeFiles();
    std::vector<va::PackageEntry> entries = package_test::Entries(files);
    entries[1].crc ^= 1;
    run.extract(Compress(Archive(entries, files)));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.code(), Compress_(va::compress_errc::invalid_checksum));
    EXPECT_EQ(run.recorder.error()->text, L"C:\\Inst\\Trelvane.exe");
    EXPECT_EQ(run.host.files.at(L"C:\\Inst\\Trelvane.exe"), files[1].data);  // for the journal to undo
    EXPECT_EQ(run.recorder.count(kEnd), 1);                                 // only the first file
    EXPECT_EQ(run.host.opened.size(), 2u);
}

TEST(Extractor, SkipConsumesTheBytesWithoutFileEnd)
{
    Extraction run;
    run.recorder.answers[{kBegin, 0}] = notification::skip;
    const std::vector<FileSpec> files = ThreeFiles();
    run.extract(Compress(Archive(files)));
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.host.files.count(L"C:\\Inst\\Lang\\En.dll"), 0u);
    EXPECT_EQ(run.host.files.at(L"C:\\Inst\\Trelvane.exe"), files[1].data);
    EXPECT_EQ(run.recorder.count(kEnd), 2);
    // Progress passes over the skipped bytes before the second file begins.
    const std::size_t tableLength = va::encode_table(package_test::Entries(files)).size();
    const std::wstring expected = L"progress " + std::to_wstring(tableLength + files[0].data.size()) + L"/";
    const auto second = std::find(run.recorder.events.begin(), run.recorder.events.end(),
                                  L"begin C:\\Inst\\Trelvane.exe");
    ASSERT_NE(second, run.recorder.events.end());
    EXPECT_EQ(std::prev(second)->substr(0, expected.size()), expected);
    EXPECT_EQ(std::count(run.recorder.events.begin(), run.recorder.events.end(), L"end C:\\Inst\\Lang\\En.dll"), 0);
}

TEST(Extractor, CancelAnywhereIsInterruptedReportedOnce)
{
    struct Case {
        const char* where;
        std::size_t index;
        int occurrence;
        std::size_t filesOpened;
    };
    const Case cases[] = {
        {"first file_begin", kBegin, 0, 0},
        {"second file_begin", kBegin, 1, 1},
        {"progress inside the first file", kProgress, 1, 1},
        {"first file_end", kEnd, 0, 1},
        {"last file_end", kEnd, 2, 3},
    };
    for (const Case& c : cases) {
        Extraction run;
        run.recorder.answers[{c.index, c.occurrence}] = notification::cancel;
        run.extract(Compress(Archive(ThreeFiles())));
        EXPECT_FALSE(run.ok) << c.where;
        EXPECT_EQ(run.code(), Compress_(va::compress_errc::interrupted)) << c.where;
        EXPECT_EQ(run.recorder.count(kError), 1) << c.where;
        EXPECT_EQ(run.host.opened.size(), c.filesOpened) << c.where;
        EXPECT_EQ(run.recorder.received.back().index(), kError) << c.where;
    }
}

TEST(Extractor, CancelOfStartFinishedOrTableProgressIsNotExamined)
{
    for (std::size_t index : {kStart, kFinished}) {
        Extraction run;
        run.recorder.answers[{index, 0}] = notification::cancel;
        run.extract(Compress(Archive(ThreeFiles())));
        EXPECT_TRUE(run.ok) << index;
    }
}

TEST(Extractor, StartHandlerThatRaisesIsTheReportedError)
{
    Extraction run;
    va::notification_callback inner = run.recorder.callback();
    va::notification_callback callback = [&](const notification& n) {
        inner(n);
        if (n.index() == kStart)
            va::throw_compress_error(va::compress_errc::verify_failed);
        return notification::proceed;
    };
    std::istringstream stream(Compress(Archive(ThreeFiles())));
    EXPECT_FALSE(va::extract_package(stream, kFolders, callback, run.host));
    EXPECT_EQ(run.code(), Compress_(va::compress_errc::verify_failed));
    EXPECT_TRUE(run.recorder.error()->text.empty());
    EXPECT_TRUE(run.host.opened.empty());
}

TEST(Extractor, OpenFailureKeepsItsCodeAndNamesTheFile)
{
    Extraction run;
    run.host.openFailures[L"C:\\Inst\\Trelvane.exe"] = std::error_code(5, std::system_category());
    run.extract(Compress(Archive(ThreeFiles())));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.code(), std::error_code(5, std::system_category()));
    EXPECT_EQ(run.recorder.error()->text, L"C:\\Inst\\Trelvane.exe");
}

TEST(Extractor, ReadBackRetriesOnlySharingViolations)
{
    struct Case {
        int busy;
        bool ok;
        int waits;
    };
    const Case cases[] = {{0, true, 0}, {1, true, 1}, {3, true, 3}, {4, false, 3}};
    for (const Case& c : cases) {
        Extraction run;
        run.host.sharingViolations[L"C:\\Inst\\Trelvane.exe"] = c.busy;
        run.extract(Compress(Archive(ThreeFiles())));
        EXPECT_EQ(run.ok, c.ok) << c.busy;
        EXPECT_EQ(run.host.waits, c.waits) << c.busy;
        if (!c.ok) {
            EXPECT_EQ(run.code(), std::error_code(32, std::system_category()));
        }
    }
}

TEST(Extractor, ZeroSizeEntriesAreCreatedAlsoWhenLast)
{
    const std::vector<FileSpec> files = {
        {L"empty-first.bmp", L"<InstallPath>", 3, ""},
        {L"middle.txt", L"<InstallPath>", 0, "data"},
        {L"empty-middle.bmp", L"<InstallPath>", 3, ""},
        {L"empty-last.bmp", L"<InstallPath>", 3, ""},
    };
    Extraction run;
    run.extract(Compress(Archive(files)));
    ASSERT_TRUE(run.ok) << run.code().message();
    for (const wchar_t* name : {L"empty-first.bmp", L"empty-middle.bmp", L"empty-last.bmp"})
        EXPECT_EQ(run.host.files.count(std::wstring(L"C:\\Inst\\") + name), 1u) << name;
    EXPECT_EQ(run.recorder.count(kEnd), 4);
    EXPECT_EQ(run.recorder.received.back().index(), kFinished);
}

TEST(Extractor, ZeroSizeEntryAloneIsCreated)
{
    Extraction run;
    run.extract(Compress(Archive({{L"only.tv-lib", L"<InstallPath>", 3, ""}})));
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.host.files.count(L"C:\\Inst\\only.tv-lib"), 1u);
}

// Any cut of the decompressed bytes into blocks gives the same files and the
// same notifications, whether a block ends inside the table or an entry.
TEST(Extractor, BlockBoundariesDoNotMatter)
{
    const std::vector<FileSpec> files = ThreeFiles();
    const std::string archive = Archive(files);
    const std::size_t tableLength = va::encode_table(package_test::Entries(files)).size();
    Extraction reference;
    reference.extract(Compress(archive));
    ASSERT_TRUE(reference.ok);

    for (std::size_t block : {std::size_t{1}, std::size_t{3}, std::size_t{7}, tableLength - 1,
                              tableLength + 1, std::size_t{4096}, archive.size()}) {
        MemoryHost host;
        Recorder recorder;
        va::PackageExtractor extractor(kFolders, recorder.callback(), host);
        package_test::WriteInBlocks(extractor, archive, block);
        extractor.finish();
        EXPECT_TRUE(extractor.complete()) << block;
        EXPECT_EQ(host.files, reference.host.files) << block;
        EXPECT_EQ(recorder.count(kBegin), 3) << block;
        EXPECT_EQ(recorder.count(kEnd), 3) << block;
    }
}

TEST(Extractor, FailedExtractorDiscardsLaterBlocks)
{
    MemoryHost host;
    Recorder recorder;
    recorder.answers[{kBegin, 0}] = notification::cancel;
    va::PackageExtractor extractor(kFolders, recorder.callback(), host);
    const std::string archive = Archive(ThreeFiles());
    std::streamsize done = 0;
    EXPECT_THROW(
        {
            while (done < static_cast<std::streamsize>(archive.size()))
                done += extractor.write(archive.data() + done, static_cast<std::streamsize>(archive.size()) - done);
        },
        std::system_error);
    const std::size_t seen = recorder.received.size();
    EXPECT_EQ(extractor.write("abc", 3), 3);
    EXPECT_EQ(recorder.received.size(), seen);
    EXPECT_TRUE(host.opened.empty());
}

TEST(Extractor, NoCallbackMeansProceed)
{
    MemoryHost host;
    std::istringstream stream(Compress(Archive(ThreeFiles())));
    EXPECT_TRUE(va::extract_package(stream, kFolders, nullptr, host));
    EXPECT_EQ(host.files.size(), 3u);
}

TEST(Extractor, UnknownTokenFailsBeforeAnyFile)
{
    for (const wchar_t* folder : {L"<installpath>", L"<Nowhere>\\x", L"<InstallPath>\\..\\..\\Windows"}) {
        Extraction run;
        std::vector<FileSpec> files = ThreeFiles();
        files[2].folder = folder;
        run.extract(Compress(Archive(files)));
        EXPECT_FALSE(run.ok) << folder;
        EXPECT_EQ(run.code(), Compress_(va::compress_errc::unexpected)) << folder;
        EXPECT_TRUE(run.host.opened.empty()) << folder;
    }
}

// Found by fuzzing: after a data error the chain goes on feeding the
// decompressor, which then reads outside its tables.  The reader must stop
// at the first error and report it once.
TEST(Extractor, DataErrorWithMoreInputStopsTheDecompressor)
{
    const std::string compressed(
    "\x42\x5a\x68\x31\x31\x41\x59\x26\x53\x59\x01\xde\x8a\x9c\x00\x00"
    "\x62\xff\xe1\xfa\x82\x10\x00\x00\x03\x00\x05\x00\x24\x44\x04\x3e"
    "\xc7\xdc\xc0\x04\x01\x30\x00\x20\x02\x00\x10\x20\x00\xf8\x12\x8a"
    "\x8f\xd1\x4f\x42\x68\x34\x3d\x08\x61\x32\x0f\xd5\x04\xa4\x86\x80"
    "\x00\x03\x40\x00\x27\xae\xf9\x30\x46\x34\x53\x49\x06\x8c\x00\x00"
    "\x00\x00\x00\x00\x00\x02\x00\x00\x00\x05\x00\x00\x00\x78\x00\x2e"
    "\x00\x62\x00\x69\x00\x6e\x00\x0b\x00\x00\x00\x3c\x00\x54\x00\x65"
    "\x00\x6d\x00\x70\x00\x6f\x00\x4e\x53\x74\x36\x6c\x6f\x63\x61\x6c"
    "\x65\x35\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x99\x28\xe6"
    "\x8f\x08\x00\x00\x00\x65\x01\x0a\xd4\x4b\x6f\xed\xd5\x8b\xca\xc9"
    "\xc4\x00\x2e\x00\x74\x00\x76\x00\x2d\x00\x6c\x00\x69\x00\x62\x69"
    "\x2e\x64\xed\x27\xa2\xe1\x02\x49\x94\xa8\xc1\x00\x00\x00\x5c\x8c"
    "\x52\x78\xa0\x69\x45\xca\x40\x3c\xd5\x10\x39\x7c\x10\x00\x10\x00"
    "\x00\x00\x3c\x00\x00",
        213);
    Extraction run;
    run.extract(compressed);
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.recorder.count(kError), 1);
    EXPECT_EQ(run.code(), Compress_(va::compress_errc::bzip2_error));
    std::istringstream s(compressed);
    EXPECT_THROW(va::verify_package(s), boost::iostreams::bzip2_error);
}

TEST(VerifyPackage, Outcomes)
{
    const std::string good = Compress(Archive(ThreeFiles()));
    {
        std::istringstream s(good);
        EXPECT_TRUE(va::verify_package(s));
    }
    {
        std::istringstream s("");
        EXPECT_TRUE(va::verify_package(s));  // an empty resource passes; the extraction then fails
    }
    {
        std::string damaged = good;
        damaged[damaged.size() / 2] ^= 0x33;
        damaged[damaged.size() / 2 + 1] ^= 0x33;
        std::istringstream s(damaged);
        EXPECT_THROW(va::verify_package(s), boost::iostreams::bzip2_error);
    }
    {
        std::istringstream s(good + "trailing bytes that are no bzip2 stream");
        EXPECT_THROW(va::verify_package(s), boost::iostreams::bzip2_error);
    }
}
