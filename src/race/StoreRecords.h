// Fixed-length records read out of a store file's bytes, for the day load.
//
// A store file is an array of L-byte records (the record type's length with CR LF), so record
// k begins at byte k * L. A record is taken only when it is sound: the whole L bytes are in
// the file, they end in CR LF, bytes 1-2 name the expected record type (or the record is an
// all-blank slot) and every data byte is Shift-JIS text without control bytes. Anything else
// (a file cut short, a line that lost or gained a byte and so shifted the rest, bytes that
// are not Shift-JIS) reads as a blank record, and nothing is read outside the record.
#pragma once

#include "jvdata/Records.h"

#include <cstddef>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace race {

// True when bytes are a sound record of `length` bytes of the type typeCode ("RA" ...): the
// exact length, CR LF at the end, the type code at 1-2 or blanks in every data byte, and data
// bytes that are printable Shift-JIS (ASCII 20-7E, half-width katakana A1-DF, or a lead byte
// 81-9F/E0-FC followed by a trail byte 40-7E/80-FC).
bool IsSoundRecord(std::string_view bytes, std::size_t length, std::string_view typeCode) noexcept;

// True when every byte is printable Shift-JIS as IsSoundRecord checks the data bytes.
bool IsPrintableShiftJis(std::string_view bytes) noexcept;

// Number of records a file of these bytes holds in full; a partial record at the end does not
// count.
template <class Record>
std::size_t WholeRecords(std::string_view file) noexcept {
    return file.size() / Record::kLength;
}

// Record `index` (from 0) of a file's bytes, copied into slot when it is sound; otherwise slot
// becomes a blank record. Returns whether a record was copied (a sound all-blank slot counts).
template <class Record>
bool ReadRecordAt(std::string_view file, std::size_t index, Record& slot) noexcept {
    constexpr std::size_t L = Record::kLength;
    // A record is its bytes and nothing else, so a checked record is copied straight in.
    static_assert(std::is_trivially_copyable_v<Record> && sizeof(Record) == L);
    if (index < file.size() / L) {
        const std::string_view bytes = file.substr(index * L, L);
        if (IsSoundRecord(bytes, L, jvdata::RecordTypeCode(Record::kType))) {
            std::memcpy(static_cast<void*>(&slot), bytes.data(), L);
            return true;
        }
    }
    slot = Record{};
    return false;
}

} // namespace race
