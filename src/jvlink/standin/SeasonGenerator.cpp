// The built-in service: the simulated season published as a service publishes it.
//
//   RA7W<sat>.jvd  RACE  Monday after the weekend 10:00  final results (data kind 7): RA, SE
//                                                         and HR of every race of the weekend,
//                                                         O1 odds of each main race
//   UMVN<day>.jvd  RCVN  with the results                 horse masters of the horses whose
//                                                         last race (or deregistration) it was
//   RCVN<day>.jvd  RCVN  with the results                 course records of the courses last
//                                                         run that weekend
//   RA2W<sat>.jvd  RACE  Friday before the weekend 17:00  the coming weekend's card (data kind
//                                                         2): RA and SE with horse numbers
//   UMVN/RCVN<fri>       with the card                    horse masters and course records
//                                                         of the card not published before
//   DIFN<day>.jvd  DIFN  with each UMVN/RCVN pair         the same horse masters and course
//                                                         records as accumulated master data,
//                                                         what a setup acquisition asks for
//                                                         beside RACE (this week's RCVN is
//                                                         served with option 2 alone)
//
// Each horse master and course record is published once a data identifier, in the file of the
// last publication it belongs to, so that it holds the whole career (or the standing record)
// as of then.
//
// With setup years, the weekends of those years are published the same way: years of RA7W
// files (races, runners and payoffs) and the DIFN files of their horse masters, which a setup
// acquisition from then brings; the weekly data of the last weeks keep their shape.
#include "jvdata/Records.h"
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/CatalogueCheck.h"
#include "jvlink/standin/SeasonRecords.h"

#include <map>
#include <stdexcept>

namespace standin {

namespace {

using namespace season;

// The Saturday of the weekend a racing day belongs to.
int SaturdayOf(int day) {
    return Weekday(day) == 0 ? day - 1 : day;
}

// The first Monday on or after the day.
int MondayOnOrAfter(int day) {
    return day + (1 - Weekday(day) + 7) % 7;
}

// The last race abroad of a horse invited to `race`: four weeks before, at its racecourse at
// home, published with the card and again with the results as its runner record alone (like any
// race abroad, without a race record), the way the service delivers a horse's results from abroad:
// first past the post, with no body weight, odds, corner positions, furlong times, money or
// opponent recorded.
std::string HomeRunRecord(const TSeason& s, const TRace& race, std::size_t index, int created) {
    auto rec = *jvdata::TRecordSE::FromBytes(RunnerRecord(s, race, index, '7', created));
    const THorse& h = s.horses[static_cast<std::size_t>(race.runners[index].horse)];
    rec.SetField(12, 19, Ymd(race.day - 28));
    rec.SetField(20, 21, h.homeCourse);
    rec.SetField(325, 336, "999 99900101");
    rec.SetField(343, 345, "");
    rec.SetField(352, 365, "00000000000000");
    rec.SetField(366, 381, "0000000000000000");
    rec.SetField(388, 393, "999999");
    rec.SetField(404, 439, "");
    rec.SetField(532, 535, "0000");
    return std::string(rec.view());
}

struct TPublication {
    std::vector<std::string> horses;
    std::vector<std::string> records;
};

} // namespace

TCatalogue GenerateSeason(const TSeasonOptions& options) {
    const auto today = ParseYmd(options.today);
    // (Up to 9899, so that the coming weekend still has a four-digit year.)
    if (!today || DateOf(*today).year > 9899) {
        throw std::invalid_argument("season date \"" + options.today + "\" is not a yyyymmdd date");
    }
    if (options.weeks < 0 || options.weeks > 52 * 100) {
        throw std::invalid_argument("season of " + std::to_string(options.weeks) +
                                    " weeks is out of range");
    }
    if (options.setupYears < 0 || options.setupYears > kMaxSetupYears) {
        throw std::invalid_argument("setup of " + std::to_string(options.setupYears) +
                                    " years is out of range");
    }
    const TSeason s = SimulateSeason(options.seed, *today, options.weeks, options.setupYears);
    TCatalogue catalogue;
    const int friday = s.cardSaturday - 1;

    // Final results, one file a weekend.
    std::map<int, TDataFile> results;
    TDataFile card{"RA2W" + Ymd(s.cardSaturday) + ".jvd", "RACE", Ymd(friday) + "170000", {}};
    for (const TRace& race : s.races) {
        if (!race.published) {
            continue;
        }
        if (race.card) {
            card.records.push_back(RaceRecord(s, race, '2', friday));
            for (std::size_t i = 0; i < race.runners.size(); ++i) {
                card.records.push_back(RunnerRecord(s, race, i, '2', friday));
                if (!s.horses[static_cast<std::size_t>(race.runners[i].horse)].invitation.empty()) {
                    card.records.push_back(HomeRunRecord(s, race, i, friday));
                }
            }
            continue;
        }
        const int saturday = SaturdayOf(race.day);
        const int monday = saturday + 2;
        auto [it, added] = results.try_emplace(saturday);
        TDataFile& file = it->second;
        if (added) {
            file = {"RA7W" + Ymd(saturday) + ".jvd", "RACE", Ymd(monday) + "100000", {}};
        }
        file.records.push_back(RaceRecord(s, race, '7', monday));
        for (std::size_t i = 0; i < race.runners.size(); ++i) {
            file.records.push_back(RunnerRecord(s, race, i, '7', monday));
            if (!s.horses[static_cast<std::size_t>(race.runners[i].horse)].invitation.empty()) {
                file.records.push_back(HomeRunRecord(s, race, i, monday));
            }
        }
        file.records.push_back(PayoffRecord(race, '7', monday));
        if (race.raceNumber == 11) {
            file.records.push_back(OddsRecord(race, '4', monday));
        }
    }

    // Horse masters and course records by the day they are published.
    const int lastMonday = s.resultSaturdays.empty() ? -1 : s.resultSaturdays.back() + 2;
    std::map<int, TPublication> masters;
    for (const THorse& h : s.horses) {
        if (h.lastSeasonDay < 0 && !h.entered) {
            continue;
        }
        int published = friday;
        bool deregistered = false;
        if (h.lastSeasonDay >= 0) {
            published = SaturdayOf(h.lastSeasonDay) + 2;
            if (h.retired && h.retireDay <= lastMonday) {
                published = std::max(published, MondayOnOrAfter(h.retireDay));
                deregistered = true;
            }
        }
        const bool firstSeen = h.career.flatRuns + h.career.jumpRuns == h.seasonRuns;
        masters[published].horses.push_back(HorseRecord(s, h, firstSeen ? '1' : '2', published,
                                                        deregistered,
                                                        h.entered && published == friday));
    }
    for (const TCourseRecord& r : s.records) {
        const int published = r.lastRunDay >= 0 ? SaturdayOf(r.lastRunDay) + 2 : friday;
        masters[published].records.push_back(
            CourseRecordRecord(r, r.setInSeason ? '2' : '1', published));
    }

    for (auto& [saturday, file] : results) {
        catalogue.files.push_back(std::move(file));
    }
    if (!card.records.empty()) {
        catalogue.files.push_back(std::move(card));
    }
    for (auto& [day, publication] : masters) {
        const std::string time = Ymd(day) + (day == friday ? "170000" : "100000");
        TDataFile accumulated{"DIFN" + Ymd(day) + ".jvd", "DIFN", time, publication.horses};
        accumulated.records.insert(accumulated.records.end(), publication.records.begin(),
                                   publication.records.end());
        catalogue.files.push_back(std::move(accumulated));
        if (!publication.horses.empty()) {
            catalogue.files.push_back(
                {"UMVN" + Ymd(day) + ".jvd", "RCVN", time, std::move(publication.horses)});
        }
        if (!publication.records.empty()) {
            catalogue.files.push_back(
                {"RCVN" + Ymd(day) + ".jvd", "RCVN", time, std::move(publication.records)});
        }
    }
    SortCatalogue(catalogue);
    return catalogue;
}

} // namespace standin
