// Any bytes given to the journal reader: no overrun and no crash; a damaged
// journal gives out no record; a journal it accepts is written again by
// the writer to as many bytes as the reader took (all of them but a torn
// tail) and reads back alike; its pending changes are changes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/journal/core/journal_file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const va::JournalReading reading = va::ReadJournal(file);

    if (reading.State == va::JournalState::Damaged) {
        if (!reading.Records.empty() || reading.Damage == va::JournalDamage::None || !va::PendingUndo(reading).empty())
            std::abort();
        return 0;
    }
    if (reading.Damage != va::JournalDamage::None)
        std::abort();

    std::string again = va::EncodeJournalHeader();
    for (const va::JournalRecord& record : reading.Records)
        again += va::EncodeJournalRecord(record, record.Sequence);  // throws (aborts) on a record it would refuse
    if (file.size() >= va::kJournalHeaderSize) {
        // Sizes, not bytes: the reader takes the fields in any order.
        if (again.size() > file.size() || (!reading.TornTail && again.size() != file.size()))
            std::abort();
    }
    const va::JournalReading back = va::ReadJournal(again);
    if (back.State != reading.State || back.Records.size() != reading.Records.size() || back.TornTail)
        std::abort();

    for (const va::JournalRecord* pending : va::PendingUndo(reading))
        if (!va::IsJournalChange(pending->Kind))
            std::abort();
    return 0;
}
