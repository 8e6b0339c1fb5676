#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/journal/core/journal_file_format.h"

namespace va {
namespace {

using Kind = JournalRecordKind;

JournalRecord Begin()
{
    JournalRecord r;
    r.Kind = Kind::Begin;
    r.RunId = L"{0b5e6c1e-55aa-4c1d-9d0e-3f2a1b4c5d6e}";
    r.Product = L"Trelvane 7.08g";
    return r;
}

JournalRecord Change(Kind kind, std::wstring target)
{
    JournalRecord r;
    r.Kind = kind;
    r.Target = std::move(target);
    return r;
}

JournalRecord Placed(std::wstring target, std::wstring backup, std::uint32_t attributes = 0x21)
{
    JournalRecord r = Change(Kind::PlaceFile, std::move(target));
    r.Detail = 1;
    r.ExistedBefore = !backup.empty();
    r.Backup = std::move(backup);
    if (r.ExistedBefore)
        r.PreviousAttributes = attributes;
    return r;
}

JournalRecord Marker(Kind kind, std::uint32_t undone = 0)
{
    JournalRecord r;
    r.Kind = kind;
    r.UndoneSequence = undone;
    return r;
}

// One record of every kind that a run writes, with the fields it carries.
std::vector<JournalRecord> EveryChange()
{
    std::vector<JournalRecord> records{Begin(), Change(Kind::CreateFolder, L"C:\\Program Files\\Vantaro")};
    records.push_back(Placed(L"C:\\Program Files\\Vantaro\\Trelvane.exe", L"C:\\J\\run\\0002.bak"));
    records.push_back(Placed(L"C:\\Program Files\\Vantaro\\new.dll", L""));
    JournalRecord attributes = Change(Kind::SetAttributes, L"C:\\Program Files\\Vantaro\\Trelvane.exe");
    attributes.PreviousAttributes = 0x20;
    records.push_back(attributes);
    JournalRecord grant = Change(Kind::GrantAccess, L"C:\\Program Files\\Vantaro\\data.db");
    grant.Data = std::string("\x01\x00\x04\x80\0\0", 6);
    records.push_back(grant);
    JournalRecord shortcut = Change(Kind::CreateShortcut, L"C:\\Start\\Trelvane 7.08g.lnk");
    shortcut.Detail = 0;
    shortcut.Backup = L"C:\\J\\run\\0006.bak";
    shortcut.Source = L"C:\\Start\\Old\\Trelvane 7.08f.lnk";
    records.push_back(shortcut);
    JournalRecord key = Change(Kind::SaveKey, L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7");
    key.ExistedBefore = true;
    key.Backup = L"C:\\J\\run\\0007.key";
    records.push_back(key);
    JournalRecord value = Change(Kind::WriteValue, L"HKEY_LOCAL_MACHINE\\Software\\Vantaro");
    value.ValueName = L"Trelvane 7 Path";
    value.ExistedBefore = true;
    value.ValueType = 1;
    value.Data = std::string("C\0:\0\\\0\0\0", 8);
    records.push_back(value);
    JournalRecord defaultValue = Change(Kind::WriteValue, L"HKEY_LOCAL_MACHINE\\Software\\Vantaro\\New");
    records.push_back(defaultValue);  // the default value (empty name), did not exist
    JournalRecord types = Change(Kind::RegisterFileTypes, L"C:\\Program Files\\Vantaro\\Trelvane.exe");
    records.push_back(types);
    records.push_back(Marker(Kind::RunDirectX));
    JournalRecord log = Change(Kind::ReplaceLog, L"C:\\Program Files\\Vantaro\\Uninstall.ulog");
    log.ExistedBefore = true;
    log.Backup = L"C:\\J\\run\\0012.bak";
    log.PreviousAttributes = 0x2021;
    records.push_back(log);
    return records;
}

std::string Journal(const std::vector<JournalRecord>& records)
{
    std::string bytes = EncodeJournalHeader();
    for (std::size_t i = 0; i < records.size(); ++i)
        bytes += EncodeJournalRecord(records[i], static_cast<std::uint32_t>(i));
    return bytes;
}

// Where each record starts, and the end of the file.
std::vector<std::size_t> Boundaries(const std::vector<JournalRecord>& records)
{
    std::vector<std::size_t> at{kJournalHeaderSize};
    for (std::size_t i = 0; i < records.size(); ++i)
        at.push_back(at.back() + EncodeJournalRecord(records[i], static_cast<std::uint32_t>(i)).size());
    return at;
}

std::string Frame(const std::string& payload)
{
    std::string out;
    auto put = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put(static_cast<std::uint32_t>(payload.size()));
    put(~static_cast<std::uint32_t>(payload.size()));
    put(JournalCrc32(payload));
    return out + payload;
}

void ExpectSame(const JournalRecord& a, const JournalRecord& b, std::size_t index)
{
    SCOPED_TRACE(testing::Message() << "record " << index);
    EXPECT_EQ(a.Kind, b.Kind);
    EXPECT_EQ(a.Target, b.Target);
    EXPECT_EQ(a.Backup, b.Backup);
    EXPECT_EQ(a.Source, b.Source);
    EXPECT_EQ(a.PreviousAttributes, b.PreviousAttributes);
    EXPECT_EQ(a.ExistedBefore, b.ExistedBefore);
    EXPECT_EQ(a.ValueName, b.ValueName);
    EXPECT_EQ(a.ValueType, b.ValueType);
    EXPECT_EQ(a.Data, b.Data);
    EXPECT_EQ(a.RunId, b.RunId);
    EXPECT_EQ(a.Product, b.Product);
    if (a.Kind == Kind::PlaceFile || a.Kind == Kind::CreateShortcut) {
        EXPECT_EQ(a.Detail, b.Detail);
    }
    if (a.Kind == Kind::Undone) {
        EXPECT_EQ(a.UndoneSequence, b.UndoneSequence);
    }
}

TEST(JournalFile, EveryKindReadsBackAsWritten)
{
    std::vector<JournalRecord> records = EveryChange();
    records.push_back(Marker(Kind::Commit));
    for (bool committed : {false, true}) {
        std::vector<JournalRecord> written(records.begin(), records.end() - (committed ? 0 : 1));
        const JournalReading reading = ReadJournal(Journal(written));
        EXPECT_EQ(reading.State, committed ? JournalState::Committed : JournalState::Uncommitted);
        EXPECT_FALSE(reading.TornTail);
        ASSERT_EQ(reading.Records.size(), written.size());
        for (std::size_t i = 0; i < written.size(); ++i) {
            ExpectSame(reading.Records[i], written[i], i);
            EXPECT_EQ(reading.Records[i].Sequence, i);
        }
    }
}

TEST(JournalFile, TextsKeepCharactersBeyondTheBasicPlane)
{
    std::vector<JournalRecord> records{Begin(), Change(Kind::CreateFolder, L"C:\\\u00e9t\u00e9\\\u4e2d\u6587")};
    if constexpr (sizeof(wchar_t) > 2)
        records[1].Target += static_cast<wchar_t>(0x1F600);
    else
        records[1].Target += L"\xD83D\xDE00";
    const JournalReading reading = ReadJournal(Journal(records));
    ASSERT_EQ(reading.Records.size(), 2u);
    EXPECT_EQ(reading.Records[1].Target, records[1].Target);
}

TEST(JournalFile, WriterRefusesWhatTheReaderWouldRefuse)
{
    struct Case {
        const char* what;
        JournalRecord record;
    };
    JournalRecord existedWithoutBackup = Placed(L"C:\\a", L"");
    existedWithoutBackup.ExistedBefore = true;
    JournalRecord backupWithoutExisting = Placed(L"C:\\a", L"C:\\b");
    backupWithoutExisting.ExistedBefore = false;
    JournalRecord noAttributes = Placed(L"C:\\a", L"C:\\b");
    noAttributes.PreviousAttributes.reset();
    JournalRecord nul = Change(Kind::CreateFolder, std::wstring(L"C:\\a\0b", 6));
    JournalRecord savedKeyWithoutFile = Change(Kind::SaveKey, L"HKEY_LOCAL_MACHINE\\K");
    savedKeyWithoutFile.ExistedBefore = true;
    JournalRecord valueWithoutType = Change(Kind::WriteValue, L"HKEY_LOCAL_MACHINE\\K");
    valueWithoutType.ExistedBefore = true;
    JournalRecord sourceWithoutBackup = Change(Kind::CreateShortcut, L"C:\\s.lnk");
    sourceWithoutBackup.Source = L"C:\\old.lnk";
    JournalRecord unknown;
    unknown.Kind = static_cast<Kind>(99);
    const Case cases[] = {
        {"no target", Change(Kind::CreateFolder, L"")},
        {"existed, no backup", existedWithoutBackup},
        {"backup, did not exist", backupWithoutExisting},
        {"existed, no attributes", noAttributes},
        {"NUL inside a path", nul},
        {"begin without run", Change(Kind::Begin, L"")},
        {"saved key without file", savedKeyWithoutFile},
        {"previous value without type", valueWithoutType},
        {"source without backup", sourceWithoutBackup},
        {"unknown kind", unknown},
    };
    for (const Case& c : cases)
        EXPECT_THROW(EncodeJournalRecord(c.record, 1), std::invalid_argument) << c.what;
}

// A crash while a record is appended: every cut of the file reads as the
// records before the cut, never as damage and never as more.
TEST(JournalFile, EveryCutReadsAsTheWholeRecordsBeforeIt)
{
    const std::vector<JournalRecord> records = EveryChange();
    const std::string bytes = Journal(records);
    const std::vector<std::size_t> at = Boundaries(records);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const JournalReading reading = ReadJournal(bytes.substr(0, size));
        ASSERT_EQ(reading.State, JournalState::Uncommitted) << "cut at " << size;
        std::size_t whole = 0;
        while (whole + 1 < at.size() && at[whole + 1] <= size)
            ++whole;
        EXPECT_EQ(reading.Records.size(), whole) << "cut at " << size;
        const bool onBoundary = size == 0 ? false : size >= kJournalHeaderSize && at[whole] == size;
        EXPECT_EQ(reading.TornTail, !onBoundary) << "cut at " << size;
    }
}

TEST(JournalFile, TornTailIsLeftOut)
{
    const std::vector<JournalRecord> records = EveryChange();
    const std::string bytes = Journal(records);
    const std::vector<std::size_t> at = Boundaries(records);
    struct Case {
        const char* what;
        std::string file;
    };
    std::string garbledLast = bytes;
    garbledLast[at[at.size() - 2] + kJournalFrameSize + 3] ^= 0x40;  // inside the last payload
    const Case cases[] = {
        {"zero bytes after the last record", bytes + std::string(4096, '\0')},
        {"zero bytes after a short frame", bytes + std::string(5, '\0')},
        {"last record fails its check", garbledLast},
        {"last record zeroed, file size kept", bytes.substr(0, at[at.size() - 2]) +
                                                   std::string(at.back() - at[at.size() - 2], '\0')},
    };
    for (const Case& c : cases) {
        const JournalReading reading = ReadJournal(c.file);
        EXPECT_EQ(reading.State, JournalState::Uncommitted) << c.what;
        EXPECT_TRUE(reading.TornTail) << c.what;
        const std::size_t expected = c.file.size() > bytes.size() ? records.size() : records.size() - 1;
        EXPECT_EQ(reading.Records.size(), expected) << c.what;
    }
}

// Every change of one byte anywhere before the last record: the journal is
// damaged and gives out nothing (a half list would be half applied).
TEST(JournalFile, AnyFlippedByteBeforeTheLastRecordIsDamage)
{
    const std::vector<JournalRecord> records = EveryChange();
    const std::string bytes = Journal(records);
    const std::vector<std::size_t> at = Boundaries(records);
    const std::size_t lastStart = at[at.size() - 2];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        for (unsigned char mask : {0x01, 0x80, 0xFF}) {
            std::string damaged = bytes;
            damaged[i] = static_cast<char>(damaged[i] ^ mask);
            const JournalReading reading = ReadJournal(damaged);
            if (i < lastStart) {
                ASSERT_EQ(reading.State, JournalState::Damaged) << "byte " << i << " mask " << int(mask);
                EXPECT_TRUE(reading.Records.empty());
                EXPECT_NE(reading.Damage, JournalDamage::None);
            } else {
                // The last record only: a torn tail, or damage; the others stay.
                if (reading.State != JournalState::Damaged) {
                    EXPECT_EQ(reading.Records.size(), records.size() - 1) << "byte " << i;
                }
            }
        }
    }
}

TEST(JournalFile, DamageIsNamed)
{
    const std::vector<JournalRecord> records = EveryChange();
    const std::string bytes = Journal(records);
    const std::vector<std::size_t> at = Boundaries(records);
    std::string version2 = bytes;
    version2[8] = 2;
    std::string length = bytes;
    length[at[2]] ^= 0x01;  // the third record's length, its complement unchanged
    std::string checksum = bytes;
    checksum[at[2] + kJournalFrameSize] ^= 0x01;

    std::string unknownTag = EncodeJournalHeader() + EncodeJournalRecord(Begin(), 0);
    unknownTag += Frame(std::string("\x01\0\0\0\x02\0\x01\0\x1F\0\x02\0\0\0C\0", 16));
    std::string trailingBytes = EncodeJournalHeader() + EncodeJournalRecord(Begin(), 0);
    trailingBytes += Frame(std::string("\x01\0\0\0\x02\0\x01\0\x01\0\x02\0\0\0C\0!", 17));
    std::string oddText = EncodeJournalHeader() + EncodeJournalRecord(Begin(), 0);
    oddText += Frame(std::string("\x01\0\0\0\x02\0\x01\0\x01\0\x03\0\0\0C\0!", 17));

    struct Case {
        const char* what;
        std::string file;
        JournalDamage damage;
    };
    const Case cases[] = {
        {"not a journal", std::string("// Uninstall Log File v1\r\n"), JournalDamage::NotAJournal},
        {"short and not a journal", std::string("\x89VAX", 4), JournalDamage::NotAJournal},
        {"later version", version2, JournalDamage::UnsupportedVersion},
        {"length without its complement", length, JournalDamage::BrokenFrame},
        {"checksum in the middle", checksum, JournalDamage::BadChecksum},
        {"unknown field", unknownTag, JournalDamage::MalformedRecord},
        {"bytes after the fields", trailingBytes, JournalDamage::MalformedRecord},
        {"text of odd size", oddText, JournalDamage::MalformedRecord},
    };
    for (const Case& c : cases) {
        const JournalReading reading = ReadJournal(c.file);
        EXPECT_EQ(reading.State, JournalState::Damaged) << c.what;
        EXPECT_EQ(reading.Damage, c.damage) << c.what;
        EXPECT_TRUE(reading.Records.empty()) << c.what;
    }
}

TEST(JournalFile, RecordsOutOfPlaceAreDamage)
{
    const JournalRecord folder = Change(Kind::CreateFolder, L"C:\\a");
    struct Case {
        const char* what;
        std::string file;
    };
    std::string skipped = EncodeJournalHeader() + EncodeJournalRecord(Begin(), 0) + EncodeJournalRecord(folder, 2);
    std::string commitThenTorn = Journal({Begin(), folder, Marker(Kind::Commit)}) + std::string(3, '\x55');
    const Case cases[] = {
        {"no begin", Journal({folder})},
        {"two begins", Journal({Begin(), Begin()})},
        {"a sequence number skipped", skipped},
        {"a change after the commit", Journal({Begin(), Marker(Kind::Commit), folder})},
        {"commit after an undo", Journal({Begin(), folder, Marker(Kind::Undone, 1), Marker(Kind::Commit)})},
        {"undo of the begin", Journal({Begin(), folder, Marker(Kind::Undone, 0)})},
        {"undo of a later record", Journal({Begin(), Marker(Kind::Undone, 2), folder})},
        {"undo of an undo", Journal({Begin(), folder, Marker(Kind::Undone, 1), Marker(Kind::Undone, 2)})},
        {"the same change undone twice", Journal({Begin(), folder, Marker(Kind::Undone, 1), Marker(Kind::Undone, 1)})},
        {"bytes after the commit", commitThenTorn},
    };
    for (const Case& c : cases) {
        const JournalReading reading = ReadJournal(c.file);
        EXPECT_EQ(reading.State, JournalState::Damaged) << c.what;
        EXPECT_EQ(reading.Damage, JournalDamage::MisplacedRecord) << c.what;
        EXPECT_TRUE(reading.Records.empty()) << c.what;
    }
}

TEST(JournalFile, PendingUndoIsNewestFirstWithoutWhatWasUndone)
{
    std::vector<JournalRecord> records{Begin(), Change(Kind::CreateFolder, L"C:\\a"), Placed(L"C:\\a\\1", L""),
                                       Placed(L"C:\\a\\2", L"C:\\J\\2.bak"), Marker(Kind::RunDirectX)};
    records.push_back(Marker(Kind::Undone, 4));
    records.push_back(Marker(Kind::Undone, 3));
    const JournalReading reading = ReadJournal(Journal(records));
    ASSERT_EQ(reading.State, JournalState::Uncommitted);
    const std::vector<const JournalRecord*> pending = PendingUndo(reading);
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pending[0]->Target, L"C:\\a\\1");
    EXPECT_EQ(pending[1]->Target, L"C:\\a");

    std::vector<JournalRecord> committed(records.begin(), records.begin() + 5);
    committed.push_back(Marker(Kind::Commit));
    EXPECT_TRUE(PendingUndo(ReadJournal(Journal(committed))).empty());
    EXPECT_TRUE(PendingUndo(ReadJournal("damaged")).empty());
    // A journal cut in its header: nothing was changed yet.
    const JournalReading cut = ReadJournal(EncodeJournalHeader().substr(0, 5));
    EXPECT_EQ(cut.State, JournalState::Uncommitted);
    EXPECT_TRUE(PendingUndo(cut).empty());
}

}  // namespace
}  // namespace va
