#include "store/RecordRouting.h"

#include "jvdata/LenientInt.h"
#include "jvdata/RecordLayout.h"
#include "jvdata/SjisText.h"

namespace store {

namespace {

// Field bytes first..last (1-based) of a record known to be long enough.
std::string_view Field(std::string_view record, jvdata::TFieldPos pos) {
    return record.substr(static_cast<std::size_t>(pos.first - 1),
                         static_cast<std::size_t>(pos.length()));
}

const std::string& RaceSuffix() {
    static const std::string text = "R/";
    return text;
}
const std::string& HorseSuffix() {
    static const std::string text = Sjis::FromUtf8("番/");
    return text;
}

// The data kinds of final results: "7", "A" and "B".
bool IsFinalKind(char kind) noexcept {
    return kind == '7' || kind == 'A' || kind == 'B';
}

// Bytes 3-11 overwritten with "000000000".
void ZeroHeader(std::string& line) {
    line.replace(2, 9, 9, '0');
}

} // namespace

const std::string& MadeFilePrefix() {
    static const std::string text = Sjis::FromUtf8("作成済み:");
    return text;
}

TRecordFault CheckRecordBytes(std::string_view record, jvdata::TRecordType type) noexcept {
    const std::size_t length = jvdata::RecordLength(type);
    if (length == 0 || record.size() != length || record[length - 2] != '\r' ||
        record[length - 1] != '\n') {
        return TRecordFault::Length;
    }
    const std::size_t data = length - 2;
    for (std::size_t i = 0; i < data; ++i) {
        const auto c = static_cast<unsigned char>(record[i]);
        if (c < 0x20 || c == 0x7F || c == 0x80 || c == 0xA0 || c >= 0xFD) {
            return TRecordFault::Bytes;
        }
        if (Sjis::IsLeadByte(c)) {
            // A lead byte needs its trail inside the data: one at the end means the record
            // was cut inside a character.
            if (i + 1 >= data || !Sjis::IsTrailByte(record[i + 1])) {
                return TRecordFault::Bytes;
            }
            ++i;
        }
    }
    return TRecordFault::None;
}

TRouting RouteRecord(std::string_view record, TDateCut dateCut) {
    using jvdata::TRecordType;
    TRouting routing;
    routing.type = jvdata::RecordTypeOf(record);
    if (routing.type == TRecordType::Unknown) {
        return routing;
    }
    routing.fault = CheckRecordBytes(record, routing.type);
    if (routing.fault != TRecordFault::None) {
        return routing;
    }

    // Taken once, before the tests.
    const char dataKind = record[2];
    const int kindValue = dataKind >= '0' && dataKind <= '9' ? dataKind - '0' : 0;
    const int raceDate = jvdata::LenientInt(Field(record, jvdata::RaceKey::kRaceDate));
    const std::string_view raceText = Field(record, jvdata::RaceKey::kRaceNumber);
    const int raceNumber = jvdata::LenientInt(raceText);
    const std::string_view dateAndCourse = Field(record, jvdata::RaceKey::kDateAndCourse);
    const bool afterCut = raceDate > dateCut;
    const bool currentKind = kindValue >= 1 && kindValue <= 6;

    // The line as stored; a zeroing by one test holds for the tests after it.
    std::string line(record.substr(0, record.size() - 2));
    bool refused = false;

    auto add = [&](std::optional<TStoreFile> file, std::size_t slot, std::string madeFile) {
        if (!file) {
            refused = true;
            return;
        }
        madeFile.append(file->name);
        routing.actions.push_back({std::move(*file), line, slot, std::move(madeFile)});
    };
    auto raceMade = [&]() { return MadeFilePrefix() + std::string(raceText) + RaceSuffix(); };

    switch (routing.type) {
    case TRecordType::RA:
        // 1: races.
        if ((currentKind || (afterCut && kindValue != 0)) && raceNumber > 0) {
            ZeroHeader(line);
            add(RaceDayFile(TStoreFileKind::RaceDayRaces, dateAndCourse), 0, raceMade());
        }
        // 4: results.
        if (IsFinalKind(dataKind)) {
            ZeroHeader(line);
            add(ResultFile(dateAndCourse), 0, raceMade());
        }
        break;
    case TRecordType::SE: {
        const std::string_view horseText = Field(record, jvdata::SE::kHorseNumber);
        const int horseNumber = jvdata::LenientInt(horseText);
        // 2: runner slot, with the record's own data kind and creation date.
        if ((currentKind || afterCut) && raceNumber > 0 && horseNumber > 0) {
            if (auto slot = RunnerSlot(raceNumber, horseNumber)) {
                add(RaceDayFile(TStoreFileKind::RunnerSlots, dateAndCourse), *slot,
                    raceMade() + std::string(horseText) + HorseSuffix());
            } else {
                routing.slotless = true;
            }
        }
        // 5: horse history.
        if (IsFinalKind(dataKind)) {
            ZeroHeader(line);
            const auto base = RaceDayBaseName(dateAndCourse);
            if (!base) {
                refused = true;
                break;
            }
            add(HorseHistoryFile(Field(record, jvdata::SE::kRegistrationNumber)), 0,
                MadeFilePrefix() + *base + std::string(raceText) + RaceSuffix());
        }
        break;
    }
    case TRecordType::HR:
        // 3: payoffs.
        if (raceNumber > 0) {
            ZeroHeader(line);
            add(RaceDayFile(TStoreFileKind::RaceDayPayoffs, dateAndCourse), 0, raceMade());
        }
        break;
    case TRecordType::UM:
        // 6: horse master.
        add(HorseMasterFile(Field(record, jvdata::UM::kRegistrationNumber)), 0, MadeFilePrefix());
        break;
    case TRecordType::RC:
        // 7: course record.
        add(CourseRecordFile(
                Field(record, jvdata::RC::kIdKind), Field(record, jvdata::RC::kCourseCode),
                Field(record, jvdata::RC::kRaceTypeCode), Field(record, jvdata::RC::kDistance),
                Field(record, jvdata::RC::kTrackCode)),
            0, MadeFilePrefix());
        break;
    case TRecordType::Unknown:
        break;
    }

    if (refused) {
        routing.fault = TRecordFault::NameField;
        routing.actions.clear();
        routing.slotless = false;
    }
    return routing;
}

} // namespace store
