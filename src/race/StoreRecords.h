// Fixed-length records read out of a store file's bytes, for the day load.
//
// A store file is an array of L-byte records (the record type's length with CR LF), so record
// k begins at byte k * L. A record is taken when its whole L bytes are in the file, they end
// in CR LF and bytes 1-2 name the expected record type (or the record is an all-blank slot).
// Anything else (a file cut short, a line that lost or gained a byte and so shifted the rest)
// reads as a blank record, and nothing is read outside the record.
//
// The texts of a taken record are not checked: JV-Data may carry characters outside the code
// page, and a race must not vanish for one odd byte in its name. Bytes that no display could
// show as they are (control bytes, a stray CR or NUL inside a name) become
// kUndecodableByte in the copy, so that every view and print shows a replacement character
// there and a line of text never breaks or ends early; the widths of the fields are kept.
#pragma once

#include "jvdata/Records.h"

#include <cstddef>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace race {

// A byte that is never part of a Shift-JIS text, which Sjis::ToUtf8 turns into U+FFFD.
inline constexpr char kUndecodableByte = '\xFF';

// True when bytes are a record of `length` bytes of the type typeCode ("RA" ...): the exact
// length, CR LF at the end, and the type code at 1-2 or blanks in every data byte.
bool IsSoundRecord(std::string_view bytes, std::size_t length, std::string_view typeCode) noexcept;

// Turns every control byte (00-1F, 7F) of data into kUndecodableByte. Returns how many.
std::size_t ReplaceControlBytes(char* data, std::size_t size) noexcept;

// Number of records a file of these bytes holds in full; a partial record at the end does not
// count.
template <class Record>
std::size_t WholeRecords(std::string_view file) noexcept {
    return file.size() / Record::kLength;
}

// Record `index` (from 0) of a file's bytes, copied into slot when it is sound, with its control
// bytes before the CR LF replaced; otherwise slot becomes a blank record. Returns whether a
// record was copied (a sound all-blank slot counts).
template <class Record>
bool ReadRecordAt(std::string_view file, std::size_t index, Record& slot) noexcept {
    constexpr std::size_t L = Record::kLength;
    // A record is its bytes and nothing else, so a checked record is copied straight in.
    static_assert(std::is_trivially_copyable_v<Record> && sizeof(Record) == L);
    if (index < file.size() / L) {
        const std::string_view bytes = file.substr(index * L, L);
        if (IsSoundRecord(bytes, L, jvdata::RecordTypeCode(Record::kType))) {
            char* const copy = reinterpret_cast<char*>(&slot);
            std::memcpy(copy, bytes.data(), L);
            ReplaceControlBytes(copy, L - 2);
            return true;
        }
    }
    slot = Record{};
    return false;
}

} // namespace race
