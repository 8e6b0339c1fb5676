#include "engine/journal/core/journal_file_format.h"

#include <array>
#include <stdexcept>

namespace va {
namespace {

using Kind = JournalRecordKind;
using Field = JournalField;

constexpr std::uint32_t Bit(Field field) { return 1u << static_cast<unsigned>(field); }

// Which fields a kind must and may carry; the rules that tie two fields
// together (a backup exactly when the target existed) are in CheckRules.
struct KindRule {
    Kind kind;
    std::uint32_t required;
    std::uint32_t allowed;
};

constexpr std::uint32_t kExistence = Bit(Field::ExistedBefore);
constexpr KindRule kRules[] = {
    {Kind::Begin, Bit(Field::RunId) | Bit(Field::Product), 0},
    {Kind::CreateFolder, Bit(Field::Target), 0},
    {Kind::PlaceFile, Bit(Field::Target) | kExistence | Bit(Field::Detail),
     Bit(Field::Backup) | Bit(Field::PreviousAttributes)},
    {Kind::SetAttributes, Bit(Field::Target) | Bit(Field::PreviousAttributes), 0},
    {Kind::GrantAccess, Bit(Field::Target) | Bit(Field::Data), 0},
    {Kind::CreateShortcut, Bit(Field::Target) | Bit(Field::Detail), Bit(Field::Backup) | Bit(Field::Source)},
    {Kind::SaveKey, Bit(Field::Target) | kExistence, Bit(Field::Backup)},
    {Kind::WriteValue, Bit(Field::Target) | Bit(Field::ValueName) | kExistence,
     Bit(Field::ValueType) | Bit(Field::Data)},
    {Kind::RegisterFileTypes, Bit(Field::Target) | kExistence, 0},
    {Kind::RunDirectX, 0, 0},
    {Kind::ReplaceLog, Bit(Field::Target) | kExistence, Bit(Field::Backup) | Bit(Field::PreviousAttributes)},
    {Kind::Undone, Bit(Field::UndoneSequence), 0},
    {Kind::Commit, 0, 0},
};

const KindRule* RuleOf(std::uint16_t kind)
{
    for (const KindRule& rule : kRules)
        if (static_cast<std::uint16_t>(rule.kind) == kind)
            return &rule;
    return nullptr;
}

bool Has(std::uint32_t fields, Field field) { return (fields & Bit(field)) != 0; }

// The ties between fields: what a change replaced is kept exactly when
// there was something to replace.
bool CheckRules(const JournalRecord& record, std::uint32_t fields)
{
    const bool existed = record.ExistedBefore;
    switch (record.Kind) {
    case Kind::PlaceFile:
    case Kind::ReplaceLog:
        return Has(fields, Field::Backup) == existed && Has(fields, Field::PreviousAttributes) == existed;
    case Kind::SaveKey:
        return Has(fields, Field::Backup) == existed;
    case Kind::WriteValue:
        return Has(fields, Field::ValueType) == existed && Has(fields, Field::Data) == existed;
    case Kind::CreateShortcut:
        return !Has(fields, Field::Source) || Has(fields, Field::Backup);
    default:
        return true;
    }
}

// The fields a record carries, as the writer writes them.
std::uint32_t FieldsOf(const JournalRecord& record)
{
    const KindRule* rule = RuleOf(static_cast<std::uint16_t>(record.Kind));
    if (!rule)
        return 0;
    std::uint32_t fields = rule->required;
    const std::uint32_t optional = rule->allowed;
    if ((optional & Bit(Field::Backup)) && !record.Backup.empty())
        fields |= Bit(Field::Backup);
    if ((optional & Bit(Field::Source)) && !record.Source.empty())
        fields |= Bit(Field::Source);
    if ((optional & Bit(Field::PreviousAttributes)) && record.PreviousAttributes)
        fields |= Bit(Field::PreviousAttributes);
    if ((optional & Bit(Field::ValueType)) && record.ValueType)
        fields |= Bit(Field::ValueType);
    if ((optional & Bit(Field::Data)) && record.ExistedBefore)
        fields |= Bit(Field::Data);
    return fields;
}

constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

void PutU16(std::string& out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

std::uint32_t GetU16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

std::uint32_t GetU32(std::string_view bytes, std::size_t at)
{
    return GetU16(bytes, at) | GetU16(bytes, at + 2) << 16;
}

std::string Utf16(std::wstring_view text)
{
    std::string bytes;
    for (wchar_t c : text) {
        auto value = static_cast<std::uint32_t>(c);
        if (value > 0xFFFF) {  // only where wchar_t is 32 bits wide
            value -= 0x10000;
            PutU16(bytes, 0xD800 + (value >> 10));
            PutU16(bytes, 0xDC00 + (value & 0x3FF));
        } else {
            PutU16(bytes, value);
        }
    }
    return bytes;
}

// False for an odd size or a NUL: a path cut at a NUL would name another file.
bool FromUtf16(std::string_view bytes, std::wstring& text)
{
    if (bytes.size() % 2 != 0)
        return false;
    text.clear();
    for (std::size_t at = 0; at < bytes.size(); at += 2) {
        std::uint32_t unit = GetU16(bytes, at);
        if (unit == 0)
            return false;
        if constexpr (sizeof(wchar_t) > 2) {
            if (unit >= 0xD800 && unit < 0xDC00 && at + 2 < bytes.size()) {
                const std::uint32_t low = GetU16(bytes, at + 2);
                if (low >= 0xDC00 && low < 0xE000) {
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    at += 2;
                }
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return true;
}

void PutField(std::string& out, Field tag, std::string_view value)
{
    PutU16(out, static_cast<std::uint32_t>(tag));
    PutU32(out, static_cast<std::uint32_t>(value.size()));
    out.append(value);
}

std::string U32Bytes(std::uint32_t value)
{
    std::string bytes;
    PutU32(bytes, value);
    return bytes;
}

std::string FieldValue(const JournalRecord& record, Field field)
{
    switch (field) {
    case Field::Target: return Utf16(record.Target);
    case Field::Backup: return Utf16(record.Backup);
    case Field::Source: return Utf16(record.Source);
    case Field::PreviousAttributes: return U32Bytes(record.PreviousAttributes.value_or(0));
    case Field::ExistedBefore: return std::string(1, record.ExistedBefore ? '\1' : '\0');
    case Field::Detail: return U32Bytes(static_cast<std::uint32_t>(record.Detail));
    case Field::ValueName: return Utf16(record.ValueName);
    case Field::ValueType: return U32Bytes(record.ValueType.value_or(0));
    case Field::Data: return record.Data;
    case Field::UndoneSequence: return U32Bytes(record.UndoneSequence);
    case Field::RunId: return Utf16(record.RunId);
    case Field::Product: return Utf16(record.Product);
    }
    return {};
}

constexpr Field kAllFields[] = {Field::Target,    Field::Backup,    Field::Source,         Field::PreviousAttributes,
                                Field::ExistedBefore, Field::Detail, Field::ValueName,    Field::ValueType,
                                Field::Data,      Field::UndoneSequence, Field::RunId,     Field::Product};

bool IsText(Field field)
{
    return field == Field::Target || field == Field::Backup || field == Field::Source || field == Field::ValueName ||
           field == Field::RunId || field == Field::Product;
}

bool IsNumber(Field field)
{
    return field == Field::PreviousAttributes || field == Field::Detail || field == Field::ValueType ||
           field == Field::UndoneSequence;
}

// Stores one field's value; false when it is not well formed.
bool TakeField(JournalRecord& record, Field field, std::string_view value)
{
    if (IsText(field)) {
        std::wstring text;
        if (!FromUtf16(value, text))
            return false;
        // Only a value name may be empty (the key's default value).
        if (text.empty() && field != Field::ValueName)
            return false;
        switch (field) {
        case Field::Target: record.Target = std::move(text); break;
        case Field::Backup: record.Backup = std::move(text); break;
        case Field::Source: record.Source = std::move(text); break;
        case Field::ValueName: record.ValueName = std::move(text); break;
        case Field::RunId: record.RunId = std::move(text); break;
        default: record.Product = std::move(text); break;
        }
        return true;
    }
    if (IsNumber(field)) {
        if (value.size() != 4)
            return false;
        const std::uint32_t number = GetU32(value, 0);
        switch (field) {
        case Field::PreviousAttributes: record.PreviousAttributes = number; break;
        case Field::Detail: record.Detail = static_cast<std::int32_t>(number); break;
        case Field::ValueType: record.ValueType = number; break;
        default: record.UndoneSequence = number; break;
        }
        return true;
    }
    if (field == Field::ExistedBefore) {
        if (value.size() != 1 || (value[0] != '\0' && value[0] != '\1'))
            return false;
        record.ExistedBefore = value[0] == '\1';
        return true;
    }
    record.Data = std::string(value);  // Field::Data
    return true;
}

std::optional<JournalRecord> ParsePayload(std::string_view payload)
{
    if (payload.size() < 8)
        return std::nullopt;
    const KindRule* rule = RuleOf(static_cast<std::uint16_t>(GetU16(payload, 4)));
    if (!rule)
        return std::nullopt;
    JournalRecord record;
    record.Kind = rule->kind;
    record.Sequence = GetU32(payload, 0);
    const std::uint32_t count = GetU16(payload, 6);
    std::size_t at = 8;
    std::uint32_t seen = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (payload.size() - at < 6)
            return std::nullopt;
        const std::uint32_t tag = GetU16(payload, at);
        const std::uint32_t size = GetU32(payload, at + 2);
        at += 6;
        if (tag == 0 || tag >= 32 || size > payload.size() - at)
            return std::nullopt;
        const std::uint32_t bit = 1u << tag;
        if ((seen & bit) || !((rule->required | rule->allowed) & bit))
            return std::nullopt;
        seen |= bit;
        if (!TakeField(record, static_cast<Field>(tag), payload.substr(at, size)))
            return std::nullopt;
        at += size;
    }
    if (at != payload.size() || (seen & rule->required) != rule->required || !CheckRules(record, seen))
        return std::nullopt;
    return record;
}

bool AllZero(std::string_view bytes)
{
    for (char c : bytes)
        if (c != '\0')
            return false;
    return true;
}

JournalReading Damaged(JournalDamage damage, std::size_t offset)
{
    JournalReading reading;
    reading.State = JournalState::Damaged;
    reading.Damage = damage;
    reading.DamageOffset = offset;
    return reading;
}

// The order of the records: Begin first and once; Undone only for an
// earlier change not undone yet; Commit last, never after an Undone.
std::optional<std::size_t> FindMisplaced(const std::vector<JournalRecord>& records)
{
    std::vector<bool> undone(records.size(), false);
    bool anyUndone = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const JournalRecord& record = records[i];
        if (record.Sequence != i || (record.Kind == Kind::Begin) != (i == 0))
            return i;
        if (record.Kind == Kind::Undone) {
            const std::uint32_t target = record.UndoneSequence;
            if (target >= i || !IsJournalChange(records[target].Kind) || undone[target])
                return i;
            undone[target] = true;
            anyUndone = true;
        }
        if (record.Kind == Kind::Commit && (i + 1 != records.size() || anyUndone))
            return i;
    }
    return std::nullopt;
}

}  // namespace

bool IsJournalChange(JournalRecordKind kind)
{
    return kind != Kind::Begin && kind != Kind::Undone && kind != Kind::Commit && RuleOf(static_cast<std::uint16_t>(kind));
}

std::uint32_t JournalCrc32(std::string_view bytes)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (char byte : bytes)
        c = kCrcTable[(c ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (c >> 8);
    return ~c;
}

std::string EncodeJournalHeader()
{
    std::string header(kJournalMagic);
    PutU32(header, kJournalFormatVersion);
    return header;
}

std::string EncodeJournalRecord(const JournalRecord& record, std::uint32_t sequence)
{
    const std::uint32_t fields = FieldsOf(record);
    if (!RuleOf(static_cast<std::uint16_t>(record.Kind)))
        throw std::invalid_argument("journal record of no known kind");
    std::string payload;
    PutU32(payload, sequence);
    PutU16(payload, static_cast<std::uint32_t>(record.Kind));
    std::uint32_t count = 0;
    for (Field field : kAllFields)
        count += Has(fields, field) ? 1 : 0;
    PutU16(payload, count);
    for (Field field : kAllFields)
        if (Has(fields, field))
            PutField(payload, field, FieldValue(record, field));
    if (payload.size() > kMaxJournalPayload)
        throw std::invalid_argument("journal record too long");
    // What the reader would refuse is refused here, before anything relies on it.
    std::optional<JournalRecord> back = ParsePayload(payload);
    if (!back)
        throw std::invalid_argument("journal record breaks the format");

    std::string out;
    const auto length = static_cast<std::uint32_t>(payload.size());
    PutU32(out, length);
    PutU32(out, ~length);
    PutU32(out, JournalCrc32(payload));
    out += payload;
    return out;
}

JournalReading ReadJournal(std::string_view bytes)
{
    JournalReading reading;
    if (bytes.size() < kJournalHeaderSize) {
        // Cut short while it was made: nothing had been changed yet.
        const std::string header = EncodeJournalHeader();
        if (header.compare(0, bytes.size(), bytes) != 0)
            return Damaged(JournalDamage::NotAJournal, 0);
        reading.State = JournalState::Uncommitted;
        reading.TornTail = true;
        return reading;
    }
    if (bytes.substr(0, kJournalMagic.size()) != kJournalMagic)
        return Damaged(JournalDamage::NotAJournal, 0);
    if (GetU32(bytes, kJournalMagic.size()) != kJournalFormatVersion)
        return Damaged(JournalDamage::UnsupportedVersion, kJournalMagic.size());

    std::size_t at = kJournalHeaderSize;
    std::vector<std::size_t> offsets;
    while (at < bytes.size()) {
        const std::string_view rest = bytes.substr(at);
        if (rest.size() < kJournalFrameSize) {
            reading.TornTail = true;
            break;
        }
        const std::uint32_t length = GetU32(rest, 0);
        if (length != ~GetU32(rest, 4) || length == 0 || length > kMaxJournalPayload) {
            if (!AllZero(rest))
                return Damaged(JournalDamage::BrokenFrame, at);
            reading.TornTail = true;
            break;
        }
        if (length > rest.size() - kJournalFrameSize) {
            reading.TornTail = true;
            break;
        }
        const std::string_view payload = rest.substr(kJournalFrameSize, length);
        if (JournalCrc32(payload) != GetU32(rest, 8)) {
            const bool last = kJournalFrameSize + length == rest.size();
            if (!last && !AllZero(rest))
                return Damaged(JournalDamage::BadChecksum, at);
            reading.TornTail = true;
            break;
        }
        std::optional<JournalRecord> record = ParsePayload(payload);
        if (!record)
            return Damaged(JournalDamage::MalformedRecord, at);
        reading.Records.push_back(std::move(*record));
        offsets.push_back(at);
        at += kJournalFrameSize + length;
    }

    if (const auto misplaced = FindMisplaced(reading.Records))
        return Damaged(JournalDamage::MisplacedRecord, offsets[*misplaced]);
    const bool committed = !reading.Records.empty() && reading.Records.back().Kind == Kind::Commit;
    // Nothing is appended after the commit: even a torn record there is damage.
    if (committed && reading.TornTail)
        return Damaged(JournalDamage::MisplacedRecord, at);
    reading.State = committed ? JournalState::Committed : JournalState::Uncommitted;
    return reading;
}

std::vector<const JournalRecord*> PendingUndo(const JournalReading& reading)
{
    std::vector<const JournalRecord*> pending;
    if (reading.State != JournalState::Uncommitted)
        return pending;
    std::vector<bool> undone(reading.Records.size(), false);
    for (const JournalRecord& record : reading.Records)
        if (record.Kind == Kind::Undone)
            undone[record.UndoneSequence] = true;
    for (std::size_t i = reading.Records.size(); i-- > 0;)
        if (IsJournalChange(reading.Records[i].Kind) && !undone[i])
            pending.push_back(&reading.Records[i]);
    return pending;
}

}  // namespace va
