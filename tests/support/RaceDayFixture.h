// A fixture writer for race-day stores: records built by hand and written as the store keeps
// them, each file under its own folder of the data root, so that the day load can be run on
// exactly the files a case needs. File paths are typed here from the store's layout, apart
// from the code under test.
#pragma once

#include "jvdata/Records.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace keiba::test {

// What a hand-built race record holds; the rest of the record is blank.
struct RacePlan {
    std::string date = "20040501";   // race date yyyymmdd (RA 12-19)
    std::string course = "05";       // racecourse code (RA 20-21), 05 = 東京
    std::string meeting = "02";      // meeting number (RA 22-23)
    std::string dayOfMeeting = "03"; // day of the meeting (RA 24-25)
    int number = 1;                  // race number (RA 26-27)
    std::string raceType = "13";     // race type code (RA 617-618)
    std::string distance = "1600";   // distance in metres (RA 698-701)
    std::string track = "11";        // track code (RA 706-707)
    int runners = 0;                 // registered runners (RA 882-883)
    std::string name;                // race name (RA 33-92), Shift-JIS
};

// An RA record of the plan: type "RA", data kind "0" and creation date zeroed as the race-day
// and result files keep them.
jvdata::TRecordRA MakeRace(const RacePlan& plan);

// An SE record of horse number horse in race, with the race's key, the horse's registration
// number (SE 31-40) and a name (SE 41-76, Shift-JIS).
jvdata::TRecordSE MakeRunner(const jvdata::TRecordRA& race, int horse,
                             std::string_view registrationNumber, std::string_view name = {});

// An HR record with the race's key and one win entry: horse number, payout and popularity.
jvdata::TRecordHR MakePayoff(const jvdata::TRecordRA& race, int winner = 1, int payout = 250,
                             int popularity = 1);

// A UM record of the horse (UM 12-21) with its owner name (UM 989-1052, Shift-JIS).
jvdata::TRecordUM MakeHorseMaster(std::string_view registrationNumber, std::string_view owner = {});

// An RC record of identification kind "1" for a racecourse, race type, distance and track,
// set in the year given (RC 13-16).
jvdata::TRecordRC MakeCourseRecord(std::string_view course, std::string_view raceType,
                                   std::string_view distance, std::string_view track,
                                   std::string_view year = "2003");

// A store under a data root folder, written file by file.
class RaceDayStore {
public:
    explicit RaceDayStore(std::filesystem::path root) : root_(std::move(root)) {}

    const std::filesystem::path& root() const noexcept { return root_; }

    // The file of a path text relative to the root (Shift-JIS, "\" between folders).
    std::filesystem::path PathOf(std::string_view relative) const;

    // Writes bytes to the file of a relative path text, making its folders.
    void WriteRaw(std::string_view relative, std::string_view bytes) const;

    // DATA\<entry>.jvRA with the races in the order given.
    void WriteRaces(std::string_view entry, const std::vector<jvdata::TRecordRA>& races) const;
    // DATA\<entry>.jvSEr: 216 slots of 553 blanks and CR LF, each runner at the slot of its
    // own race number and horse number (runners outside races 1-12 or horses 1-18 are dropped).
    void WriteRunnerSlots(std::string_view entry,
                          const std::vector<jvdata::TRecordSE>& runners) const;
    // DATA\<entry>.jvHR with the payoff records in the order given.
    void WritePayoffs(std::string_view entry, const std::vector<jvdata::TRecordHR>& payoffs) const;
    // SEI\<first four>\<number>.jvSEI with the runs in the order given (the store keeps the
    // oldest first).
    void WriteHistory(std::string_view registrationNumber,
                      const std::vector<jvdata::TRecordSE>& runs) const;
    // SEIR\<yyyy>\<yyyymmdd><course>.jvSERA with the races in the order given; the file is named
    // after the first race's date and racecourse.
    void WriteResults(const std::vector<jvdata::TRecordRA>& races) const;
    // UM2\<first four>\<number>.jvUM2 with the one master.
    void WriteHorseMaster(const jvdata::TRecordUM& master) const;
    // UMA\<first four>\<number>.jvUMA with bytes as given (old 1577-byte records).
    void WriteOldHorseMaster(std::string_view registrationNumber, std::string_view bytes) const;
    // REC\1<course><race type><distance><track>.jvRC with the one record.
    void WriteCourseRecord(const jvdata::TRecordRC& record, std::string_view course,
                           std::string_view raceType, std::string_view distance,
                           std::string_view track) const;

private:
    std::filesystem::path root_;
};

// An old-layout horse master record (1577 bytes with CR LF) of the horse: "UM", data kind "1",
// the registration number at 12-21, the owner name at old 957-1020, blanks elsewhere.
std::string MakeOldHorseMaster(std::string_view registrationNumber, std::string_view owner);

} // namespace keiba::test
