// Routing one JV-Data record into the store: which files it belongs in, what line each gets
// and what the made-files list says.
//
// Seven tests run in this order on every record; a record may be taken by two of them (an RA
// by races and results, an SE by runner slots and horse history):
//   1 races        RA; data kind 1-6, or raced after the date cut with a kind other than 0;
//                  race number above 0 -> .jvRA, zeroed
//   2 runner slot  SE; data kind 1-6, or raced after the date cut; race and horse number
//                  above 0 -> .jvSEr slot as delivered (no slot above race 12 or horse 18)
//   3 payoffs      HR; race number above 0 -> .jvHR, zeroed
//   4 results      RA; data kind "7", "A" or "B" -> .jvSERA, zeroed
//   5 history      SE; data kind "7", "A" or "B" -> .jvSEI, zeroed
//   6 horse master UM -> .jvUM2, replaced
//   7 course record RC -> .jvRC, replaced
// The data kind's value is its digit, 0 for a letter; the race date (12-19) is read as an
// integer and compared with the date cut (yyyymmdd).
//
// Before any test, a record of the five types must be whole: its type's length, CR LF at the
// end and nothing else that is not text (a control byte, a byte no CP932 character starts
// with, a lead byte without its trail), since one wrong line would shift every later record of
// a fixed-length file. The fields that name its files must be digits or code characters. A
// record that fails is refused whole: none of its files is touched.
#pragma once

#include "jvdata/Records.h"
#include "store/StoreLayout.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// Why a record of a known type was not stored.
enum class TRecordFault {
    None,
    Length,    // not the type's length, or no CR LF at its end
    Bytes,     // a byte that is not CP932 text (control byte, 80, A0, FD-FF, a lone lead byte)
    NameField, // a field that names one of its files holds something else than the name allows
};

// Checks a record of a known type for length and bytes (not its name fields).
TRecordFault CheckRecordBytes(std::string_view record, jvdata::TRecordType type) noexcept;

// One file a record goes into.
struct TStoreAction {
    TStoreFile file;      // the file, relative to the data root
    std::string line;     // what is stored: the record less CR LF, zeroed where the file wants
    std::size_t slot = 0; // the line of a runner slot write
    std::string madeFile; // the made-files list line, CP932
};

// Where a record goes.
struct TRouting {
    jvdata::TRecordType type = jvdata::TRecordType::Unknown; // Unknown: read and dropped
    TRecordFault fault = TRecordFault::None;                 // refused when not None
    std::vector<TStoreAction> actions; // in test order; empty when no test takes the record
    bool slotless = false;             // an SE that passed the runner slot test but has no slot
};

// The date cut's form: yyyymmdd as an integer.
using TDateCut = int;

// Routes one record as JV-Link delivered it (with CR LF).
TRouting RouteRecord(std::string_view record, TDateCut dateCut);

// The made-files line prefix "作成済み:" (CP932).
const std::string& MadeFilePrefix();

} // namespace store
