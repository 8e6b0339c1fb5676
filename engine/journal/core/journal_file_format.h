#pragma once
// The journal file: what an installation is about to change, written and
// flushed before each change, so that the next start can undo a run that
// was killed.  No system call here: the caller appends the bytes and reads
// the file back.
//
// Format, version 1 (all integers little-endian):
//
//   header   8 bytes  89 56 41 4A 0D 0A 1A 0A  (binary; a text-mode copy
//                     or a 7-bit transfer breaks it visibly)
//            4 bytes  format version (1)
//   records, one after the other, each:
//            4 bytes  L, length of the payload (1 .. kMaxJournalPayload)
//            4 bytes  ~L, its complement (a damaged length is not taken
//                     for a record reaching past the end)
//            4 bytes  CRC-32 (zlib's) of the payload
//            L bytes  payload:
//                     4 bytes  sequence number, 0 for the first record
//                     2 bytes  kind (JournalRecordKind)
//                     2 bytes  number of fields
//                     fields, each: 2 bytes tag (JournalField), 4 bytes
//                     size, then the value: texts UTF-16LE without
//                     terminator (no NUL inside), numbers 4 bytes, flags
//                     1 byte (0 or 1), data as they are.  Each tag once.
//
// The first record is Begin; every change is one record, appended before
// the change is made; Undone records are appended by a recovery as it
// undoes each change; Commit, the last record, marks a run whose result
// stands (nothing may follow it).  Which fields a kind carries is in
// journal_file_format.cpp (one table).
//
// Reading: records are appended one at a time and flushed, so only the last
// one can be cut short by a crash.  A last record that is incomplete, fails
// its check and reaches the end of the file, or is followed only by zero
// bytes (a file extended but not written), is a torn tail: the change it
// announced was never begun, and it is left out.  Any other record that
// fails its check, a record that breaks the rules above, an unknown kind,
// tag or version, make the whole journal damaged: its records are then not
// given out at all, so that a damaged journal is never applied in part.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace va {

inline constexpr std::uint32_t kJournalFormatVersion = 1;
inline constexpr std::string_view kJournalMagic{"\x89VAJ\r\n\x1A\n", 8};
inline constexpr std::size_t kJournalHeaderSize = 12;
inline constexpr std::size_t kJournalFrameSize = 12;  // length, complement, CRC-32
// Paths are at most 32767 characters; the largest data is a saved access
// list or registry value.
inline constexpr std::uint32_t kMaxJournalPayload = 1u << 20;

enum class JournalRecordKind : std::uint16_t {
    Begin = 1,              // RunId, Product
    CreateFolder = 2,       // Target: a folder that did not exist
    PlaceFile = 3,          // Target, ExistedBefore, Detail (entry kind); Backup and PreviousAttributes when it existed
    SetAttributes = 4,      // Target, PreviousAttributes
    GrantAccess = 5,        // Target, Data (the previous security descriptor, self-relative)
    CreateShortcut = 6,     // Target, Detail (shortcut kind); Backup, Source when a previous shortcut was moved away
    SaveKey = 7,            // Target (key's full name), ExistedBefore; Backup (the saved key file) when it existed
    WriteValue = 8,         // Target (key's full name), ValueName, ExistedBefore; ValueType and Data when it existed
    RegisterFileTypes = 9,  // Target (the program that registers); ExistedBefore: a registration was there before
    RunDirectX = 10,        // nothing: not undone
    ReplaceLog = 11,        // Target, ExistedBefore; Backup and PreviousAttributes when it existed
    Undone = 12,            // UndoneSequence: a change a recovery has undone
    Commit = 13,            // nothing: the run stands
};

enum class JournalField : std::uint16_t {
    Target = 1,
    Backup = 2,
    Source = 3,
    PreviousAttributes = 4,
    ExistedBefore = 5,
    Detail = 6,
    ValueName = 7,
    ValueType = 8,
    Data = 9,
    UndoneSequence = 10,
    RunId = 11,
    Product = 12,
};

// One record; fields a kind does not carry stay empty and are not written.
struct JournalRecord {
    JournalRecordKind Kind = JournalRecordKind::Begin;
    std::uint32_t Sequence = 0;
    std::wstring Target;
    std::wstring Backup;  // empty: no backup
    std::wstring Source;  // where the backup came from when not Target; empty: Target
    std::optional<std::uint32_t> PreviousAttributes;
    bool ExistedBefore = false;
    std::int32_t Detail = -1;
    std::wstring ValueName;
    std::optional<std::uint32_t> ValueType;
    std::string Data;
    std::uint32_t UndoneSequence = 0;
    std::wstring RunId;
    std::wstring Product;
};

// True for the kinds that stand for a change of the machine.
bool IsJournalChange(JournalRecordKind kind);

// The file's first bytes.
std::string EncodeJournalHeader();
// One record with its frame, numbered `sequence` (its place in the file).
// Throws std::invalid_argument for a record the reader would refuse, so
// that nothing unreadable is ever written.
std::string EncodeJournalRecord(const JournalRecord& record, std::uint32_t sequence);

enum class JournalState {
    Committed,    // whole; the run stands: discard the backups
    Uncommitted,  // whole (perhaps with a torn tail left out): to be undone
    Damaged,      // not applied at all: keep it, report it, refuse the run
};

enum class JournalDamage {
    None,
    NotAJournal,         // the header is wrong
    UnsupportedVersion,  // written by a later format
    BrokenFrame,         // a record's length is impossible, and data follows
    BadChecksum,         // a record's CRC-32 fails, and data follows
    MalformedRecord,     // a checked record that breaks the format
    MisplacedRecord,     // a record out of its place (sequence, Begin, Undone, Commit)
};

struct JournalReading {
    JournalState State = JournalState::Damaged;
    JournalDamage Damage = JournalDamage::None;
    std::size_t DamageOffset = 0;  // where the damage was found
    bool TornTail = false;
    // Every record, Begin first; empty when damaged.
    std::vector<JournalRecord> Records;
};

JournalReading ReadJournal(std::string_view bytes);

// The changes a recovery still has to undo, newest first: the changes of an
// uncommitted journal without an Undone record.  Empty for any other state.
std::vector<const JournalRecord*> PendingUndo(const JournalReading& reading);

// zlib's CRC-32.
std::uint32_t JournalCrc32(std::string_view bytes);

}  // namespace va
