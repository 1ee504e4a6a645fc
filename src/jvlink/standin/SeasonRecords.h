// JV-Data records of the simulated season: each function gives one whole record, its type's
// exact length with CR LF, numbers zero-padded to their fields, Japanese names padded with
// full-width blanks, texts of Latin letters and figures with half-width blanks.
#pragma once

#include "jvlink/standin/SeasonModel.h"

#include <string>

namespace standin::season {

// RA race details of a race; data kind '2' for the card (no results), '7' for the results.
std::string RaceRecord(const TSeason& season, const TRace& race, char dataKind, int created);
// SE record of runner `index` of the race.
std::string RunnerRecord(const TSeason& season, const TRace& race, std::size_t index, char dataKind,
                         int created);
// HR payoffs of a race that has been run.
std::string PayoffRecord(const TRace& race, char dataKind, int created);
// O1 win, place and bracket odds of a race that has been run (a type the program skips).
std::string OddsRecord(const TRace& race, char dataKind, int created);
// UM horse master; `deregistered` when its deregistration is published with it.
std::string HorseRecord(const TSeason& season, const THorse& horse, char dataKind, int created,
                        bool deregistered, bool entered);
// RC course record.
std::string CourseRecordRecord(const TCourseRecord& record, char dataKind, int created);

} // namespace standin::season
