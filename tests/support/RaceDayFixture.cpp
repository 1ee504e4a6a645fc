#include "RaceDayFixture.h"

#include "TestSupport.h"
#include "files/ProgramFolder.h"
#include "jvdata/RecordLayout.h"

#include <stdexcept>

namespace keiba::test {

namespace fs = std::filesystem;
using namespace jvdata;

namespace {

template <class Record>
void SetOrThrow(Record& record, TFieldPos pos, std::string_view text) {
    if (!record.SetField(pos, text)) {
        throw std::invalid_argument("field outside the record");
    }
}

template <class Record>
void SetIntOrThrow(Record& record, TFieldPos pos, long long value) {
    if (!record.SetInt(pos, value)) {
        throw std::invalid_argument("number does not fit its field");
    }
}

template <class Record>
std::string Concatenated(const std::vector<Record>& records) {
    std::string bytes;
    for (const Record& r : records) {
        bytes += r.view();
    }
    return bytes;
}

} // namespace

TRecordRA MakeRace(const RacePlan& plan) {
    TRecordRA race = TRecordRA::Create('0', "00000000");
    SetOrThrow(race, RA::kRaceDate, plan.date);
    SetOrThrow(race, RA::kCourseCode, plan.course);
    SetOrThrow(race, RA::kMeeting, plan.meeting);
    SetOrThrow(race, RA::kDayOfMeeting, plan.dayOfMeeting);
    SetIntOrThrow(race, RA::kRaceNumber, plan.number);
    SetOrThrow(race, RA::kRaceTypeCode, plan.raceType);
    SetOrThrow(race, RA::kDistance, plan.distance);
    SetOrThrow(race, RA::kTrackCode, plan.track);
    SetIntOrThrow(race, RA::kRegisteredRunners, plan.runners);
    SetOrThrow(race, RA::kRaceName, plan.name);
    return race;
}

TRecordSE MakeRunner(const TRecordRA& race, int horse, std::string_view registrationNumber,
                     std::string_view name) {
    TRecordSE runner = TRecordSE::Create('7', "20040502");
    SetOrThrow(runner, SE::kRaceKey, race.RaceKey());
    SetIntOrThrow(runner, SE::kFrameNumber, (horse + 1) / 2 > 8 ? 8 : (horse + 1) / 2);
    SetIntOrThrow(runner, SE::kHorseNumber, horse);
    SetOrThrow(runner, SE::kRegistrationNumber, registrationNumber);
    SetOrThrow(runner, SE::kHorseName, name);
    return runner;
}

TRecordHR MakePayoff(const TRecordRA& race, int winner, int payout, int popularity) {
    TRecordHR payoff = TRecordHR::Create('0', "00000000");
    SetOrThrow(payoff, RaceKey::kRaceKey, race.RaceKey());
    SetIntOrThrow(payoff, TFieldPos{103, 104}, winner);
    SetIntOrThrow(payoff, TFieldPos{105, 113}, payout);
    SetIntOrThrow(payoff, TFieldPos{114, 115}, popularity);
    return payoff;
}

TRecordUM MakeHorseMaster(std::string_view registrationNumber, std::string_view owner) {
    TRecordUM master = TRecordUM::Create('1', "20040428");
    SetOrThrow(master, UM::kRegistrationNumber, registrationNumber);
    SetOrThrow(master, TFieldPos{989, 1052}, owner);
    return master;
}

TRecordRC MakeCourseRecord(std::string_view course, std::string_view raceType,
                           std::string_view distance, std::string_view track,
                           std::string_view year) {
    TRecordRC record = TRecordRC::Create('1', "20040428");
    SetOrThrow(record, RC::kIdKind, "1");
    SetOrThrow(record, RC::kYear, year);
    SetOrThrow(record, RC::kCourseCode, course);
    SetOrThrow(record, TFieldPos{94, 95}, raceType);
    SetOrThrow(record, TFieldPos{96, 99}, distance);
    SetOrThrow(record, TFieldPos{100, 101}, track);
    return record;
}

std::string MakeOldHorseMaster(std::string_view registrationNumber, std::string_view owner) {
    std::string record(1577, ' ');
    record.replace(0, 3, "UM1");
    record.replace(11, registrationNumber.size(), registrationNumber);
    record.replace(956, owner.size(), owner);
    record[1575] = '\r';
    record[1576] = '\n';
    return record;
}

fs::path RaceDayStore::PathOf(std::string_view relative) const {
    return root_ / files::PathFromText(relative);
}

void RaceDayStore::WriteRaw(std::string_view relative, std::string_view bytes) const {
    const fs::path file = PathOf(relative);
    fs::create_directories(file.parent_path());
    WriteFileBytes(file, bytes);
}

void RaceDayStore::WriteRaces(std::string_view entry, const std::vector<TRecordRA>& races) const {
    WriteRaw("DATA\\" + std::string(entry) + ".jvRA", Concatenated(races));
}

void RaceDayStore::WriteRunnerSlots(std::string_view entry,
                                    const std::vector<TRecordSE>& runners) const {
    std::vector<TRecordSE> slots(216);
    for (const TRecordSE& runner : runners) {
        const int race = runner.Int(SE::kRaceNumber);
        const int horse = runner.Int(SE::kHorseNumber);
        if (race >= 1 && race <= 12 && horse >= 1 && horse <= 18) {
            slots[static_cast<std::size_t>((race - 1) * 18 + (horse - 1))] = runner;
        }
    }
    WriteRaw("DATA\\" + std::string(entry) + ".jvSEr", Concatenated(slots));
}

void RaceDayStore::WritePayoffs(std::string_view entry,
                                const std::vector<TRecordHR>& payoffs) const {
    WriteRaw("DATA\\" + std::string(entry) + ".jvHR", Concatenated(payoffs));
}

void RaceDayStore::WriteHistory(std::string_view registrationNumber,
                                const std::vector<TRecordSE>& runs) const {
    const std::string number(registrationNumber);
    WriteRaw("SEI\\" + number.substr(0, 4) + "\\" + number + ".jvSEI", Concatenated(runs));
}

void RaceDayStore::WriteResults(const std::vector<TRecordRA>& races) const {
    if (races.empty()) {
        throw std::invalid_argument("a result file needs a race");
    }
    const std::string year(races.front().Year());
    const std::string name(races.front().Field(RaceKey::kDateAndCourse));
    WriteRaw("SEIR\\" + year + "\\" + name + ".jvSERA", Concatenated(races));
}

void RaceDayStore::WriteHorseMaster(const TRecordUM& master) const {
    const std::string number(master.RegistrationNumber());
    WriteRaw("UM2\\" + number.substr(0, 4) + "\\" + number + ".jvUM2", master.view());
}

void RaceDayStore::WriteOldHorseMaster(std::string_view registrationNumber,
                                       std::string_view bytes) const {
    const std::string number(registrationNumber);
    WriteRaw("UMA\\" + number.substr(0, 4) + "\\" + number + ".jvUMA", bytes);
}

void RaceDayStore::WriteCourseRecord(const TRecordRC& record, std::string_view course,
                                     std::string_view raceType, std::string_view distance,
                                     std::string_view track) const {
    WriteRaw("REC\\1" + std::string(course) + std::string(raceType) + std::string(distance) +
                 std::string(track) + ".jvRC",
             record.view());
}

} // namespace keiba::test
