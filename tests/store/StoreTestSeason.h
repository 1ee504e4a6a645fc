// Synthetic JV-Data for the store's tests and benchmarks: record builders with the fields the
// store routes by, a season of race days in delivery order, and a JV-Link that hands records
// out of memory. Header-only and free of the test framework, so the benchmarks use it too.
#pragma once

#include "jvdata/Records.h"
#include "jvdata/SjisText.h"
#include "jvlink/IJVLink.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace keiba::storetest {

// A race key's parts: date yyyymmdd, racecourse code, meeting, day of meeting, race number.
struct TRaceId {
    std::string date = "20040501";
    std::string course = "05";
    std::string meeting = "02";
    std::string day = "03";
    std::string race = "01";

    std::string Key() const { return date + course + meeting + day + race; }
};

inline std::string TwoDigits(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// Sets the race key 12-27 of an RA, SE or HR record.
template <class Record>
void SetRace(Record& record, const TRaceId& id) {
    record.SetField(jvdata::RaceKey::kRaceKey, id.Key());
}

// An RA record of the race with a data kind, a creation date and a race name that tells
// records apart (CP932 text in a name field).
inline std::string MakeRA(const TRaceId& id, char kind, std::string_view created = "20040428",
                          std::string_view nameUtf8 = "テスト特別") {
    auto ra = jvdata::TRecordRA::Create(kind, created);
    SetRace(ra, id);
    ra.SetField(jvdata::RA::kRaceName, Sjis::FromUtf8(nameUtf8));
    ra.SetField(jvdata::RA::kDistance, "1600");
    ra.SetField(jvdata::RA::kTrackCode, "11");
    ra.SetField(jvdata::RA::kRaceTypeCode, "13");
    return std::string(ra.view());
}

// An SE record: the runner with horse number and registration number in the race.
inline std::string MakeSE(const TRaceId& id, std::string_view horse, std::string_view number,
                          char kind, std::string_view created = "20040428",
                          std::string_view nameUtf8 = "テストホース") {
    auto se = jvdata::TRecordSE::Create(kind, created);
    SetRace(se, id);
    se.SetField(jvdata::SE::kHorseNumber, horse);
    se.SetField(jvdata::SE::kRegistrationNumber, number);
    se.SetField(jvdata::SE::kHorseName, Sjis::FromUtf8(nameUtf8));
    return std::string(se.view());
}

// An HR record of the race.
inline std::string MakeHR(const TRaceId& id, char kind, std::string_view created = "20040502") {
    auto hr = jvdata::TRecordHR::Create(kind, created);
    SetRace(hr, id);
    return std::string(hr.view());
}

// A UM record of the horse, with a name and a serial in the owner field to tell versions
// apart.
inline std::string MakeUM(std::string_view number, int serial = 0, char kind = '1',
                          std::string_view created = "20040428") {
    auto um = jvdata::TRecordUM::Create(kind, created);
    um.SetField(jvdata::UM::kRegistrationNumber, number);
    um.SetField(jvdata::UM::kOwnerName, Sjis::FromUtf8("馬主") + std::to_string(serial));
    return std::string(um.view());
}

// An RC record with the fields of its file name.
inline std::string MakeRC(std::string_view course, std::string_view raceType,
                          std::string_view distance, std::string_view track, int serial = 0,
                          char idKind = '1') {
    auto rc = jvdata::TRecordRC::Create('1', "20040428");
    rc.SetAt(jvdata::RC::kIdKind.first, idKind);
    rc.SetField(jvdata::RC::kCourseCode, course);
    rc.SetField(jvdata::RC::kRaceTypeCode, raceType);
    rc.SetField(jvdata::RC::kDistance, distance);
    rc.SetField(jvdata::RC::kTrackCode, track);
    rc.SetField(jvdata::RC::kRecordTime, std::to_string(1330 + serial));
    return std::string(rc.view());
}

// ---- A season -----------------------------------------------------------------------------

// One data file of records as JV-Link delivers it.
struct TFeedFile {
    std::string name;
    std::vector<std::string> records;
};

struct TSeasonShape {
    std::uint32_t seed = 20040501;
    int weeks = 52;                     // race weekends of results
    std::string firstDate = "20040103"; // the first Saturday
    int days = 2;                       // race days a weekend (Saturday, Sunday)
    int courses = 3;                    // racecourses a day
    int horses = 8000;                  // horses in training
    bool card = true;                   // the next weekend's card (data kind 2) after the results
};

// The date `days` days after yyyymmdd.
inline std::string DateAfter(std::string_view date, int count) {
    using namespace std::chrono;
    const int y = std::stoi(std::string(date.substr(0, 4)));
    const unsigned m = static_cast<unsigned>(std::stoi(std::string(date.substr(4, 2))));
    const unsigned d = static_cast<unsigned>(std::stoi(std::string(date.substr(6, 2))));
    const year_month_day moved{sys_days{year_month_day{year{y}, month{m}, day{d}}} + days{count}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(moved.year()),
                  static_cast<unsigned>(moved.month()), static_cast<unsigned>(moved.day()));
    return text;
}

// A season: per weekend the card (RA and SE of data kind 2) and then the results (RA and SE
// of kind 7, HR of kind 2), each file in shuffled order as the service delivers a file, then
// the horse masters of every runner and the course records; with `card`, the next weekend's
// card at the end. Roughly 3,450 races, 48,000 runners and 8,000 horses for 52 weeks.
inline std::vector<TFeedFile> MakeSeason(const TSeasonShape& shape) {
    std::mt19937 random(shape.seed);
    const char* courseCodes[] = {"05", "06", "08", "09", "01", "02", "03", "04", "07", "10"};
    const char* distances[] = {"1200", "1400", "1600", "1800", "2000", "2400"};
    const char* tracks[] = {"11", "17", "23", "24"};
    std::vector<TFeedFile> files;
    auto horseNumber = [](int index) {
        return "20" + TwoDigits(index % 8) + std::to_string(100000 + index);
    };
    auto serial = [](const char* dataSpec, int week) {
        return std::string(dataSpec) + std::to_string(100000 + week) + ".jvd";
    };

    auto weekend = [&](int week, bool results) {
        struct TRunner {
            std::string horse;
            std::string number;
        };
        struct TRace {
            TRaceId id;
            std::string created;
            std::vector<TRunner> runners;
            int courseIndex = 0;
            int r = 0;
            int c = 0;
        };
        std::vector<TRace> races;
        for (int dayOfWeek = 0; dayOfWeek < shape.days; ++dayOfWeek) {
            const std::string date = DateAfter(shape.firstDate, week * 7 + dayOfWeek);
            for (int c = 0; c < shape.courses; ++c) {
                const int courseIndex = (week / 8 + c) % 10;
                const int count = (week + dayOfWeek + c) % 3 == 0 ? 11 : 12;
                for (int r = 1; r <= count; ++r) {
                    TRace race;
                    race.id = {date, courseCodes[courseIndex], TwoDigits(1 + week / 8 % 5),
                               TwoDigits(1 + (week % 4) * 2 + dayOfWeek), TwoDigits(r)};
                    race.created = DateAfter(date, -3);
                    race.courseIndex = courseIndex;
                    race.r = r;
                    race.c = c;
                    const int runners = 10 + static_cast<int>(random() % 9); // 10 to 18
                    for (int h = 1; h <= runners; ++h) {
                        race.runners.push_back(
                            {TwoDigits(h), horseNumber(static_cast<int>(random() % shape.horses))});
                    }
                    races.push_back(std::move(race));
                }
            }
        }

        TFeedFile card{serial("RACE", week * 2), {}};
        for (const auto& race : races) {
            card.records.push_back(MakeRA(race.id, '2', race.created));
            for (const auto& runner : race.runners) {
                card.records.push_back(
                    MakeSE(race.id, runner.horse, runner.number, '2', race.created));
            }
        }
        std::shuffle(card.records.begin(), card.records.end(), random);
        files.push_back(std::move(card));
        if (!results) {
            return;
        }

        TFeedFile result{serial("RACE", week * 2 + 1), {}};
        TFeedFile masters{serial("DIFF", week), {}};
        TFeedFile records{serial("RCVN", week), {}};
        for (const auto& race : races) {
            const std::string created = DateAfter(race.id.date, 1);
            result.records.push_back(MakeRA(race.id, '7', created, "テスト特別結果"));
            for (const auto& runner : race.runners) {
                result.records.push_back(
                    MakeSE(race.id, runner.horse, runner.number, '7', created));
                masters.records.push_back(MakeUM(runner.number, week, '1', created));
            }
            result.records.push_back(MakeHR(race.id, '2', created));
            records.records.push_back(MakeRC(courseCodes[race.courseIndex],
                                             TwoDigits(11 + race.r % 8), distances[race.r % 6],
                                             tracks[(race.r + race.c) % 4], week));
        }
        std::shuffle(result.records.begin(), result.records.end(), random);
        files.push_back(std::move(result));
        files.push_back(std::move(masters));
        files.push_back(std::move(records));
    };
    for (int week = 0; week < shape.weeks; ++week) {
        weekend(week, true);
    }
    if (shape.card) {
        weekend(shape.weeks, false);
    }
    return files;
}

inline std::size_t RecordCount(const std::vector<TFeedFile>& files) {
    std::size_t count = 0;
    for (const auto& file : files) {
        count += file.records.size();
    }
    return count;
}

// ---- A JV-Link over records in memory -------------------------------------------------------

// Hands out the files' records one per JVRead, -1 after each file and 0 at the end. Every
// other operation succeeds.
class TFeedJVLink final : public jvlink::IJVLink {
public:
    explicit TFeedJVLink(const std::vector<TFeedFile>& files) : files_(files) {}

    std::int32_t JVInit(const std::string&) override { return 0; }
    std::string JVLinkVersion() override { return "0490"; }
    std::int32_t JVSetUIProperties() override { return 0; }
    std::int32_t JVOpen(const std::string&, const std::string&, std::int32_t,
                        std::int32_t& readCount, std::int32_t& downloadCount,
                        std::string& lastFileTimestamp) override {
        readCount = static_cast<std::int32_t>(files_.size());
        downloadCount = 0;
        lastFileTimestamp = "20041231180000";
        file_ = record_ = 0;
        return 0;
    }
    std::int32_t JVStatus() override { return 0; }
    std::int32_t JVRead(std::string& buffer, std::int32_t, std::string& fileName) override {
        buffer.clear();
        if (file_ >= files_.size()) {
            return 0;
        }
        const TFeedFile& file = files_[file_];
        fileName = file.name;
        if (record_ >= file.records.size()) {
            ++file_;
            record_ = 0;
            return -1;
        }
        buffer = file.records[record_++];
        return static_cast<std::int32_t>(buffer.size());
    }
    std::int32_t JVCancel() override { return 0; }
    std::int32_t JVClose() override { return 0; }

    // Starts again from the first record.
    void Rewind() { file_ = record_ = 0; }
    std::int32_t FileCount() const { return static_cast<std::int32_t>(files_.size()); }

private:
    const std::vector<TFeedFile>& files_;
    std::size_t file_ = 0;
    std::size_t record_ = 0;
};

} // namespace keiba::storetest
