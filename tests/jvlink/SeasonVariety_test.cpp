// The built-in season gives the horse pages every kind of content a user meets: runners with
// five, two and no earlier runs, a deregistered horse, an invited horse in an international
// race, winners (whose page names the runner-up), jump races in histories, an earlier run
// without its race record, and blank corner positions.
#include "jvdata/KeibaFunc.h"
#include "jvdata/Records.h"
#include "jvdata/SjisText.h"
#include "jvlink/standin/Catalogue.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace jvdata;

struct TRun {
    std::string date; // yyyymmdd
    std::string key;  // race key, 16 bytes
    TRecordSE se;
};

TEST(SeasonVariety, TheHorsePagesMeetEveryBranch) {
    standin::TSeasonOptions options;
    options.today = "20260107";
    options.weeks = 26;
    const standin::TCatalogue catalogue = standin::GenerateSeason(options);

    std::map<std::string, TRecordRA> races;        // by race key: the final race record
    std::map<std::string, std::vector<TRun>> runs; // by horse: every published run or entry
    std::vector<TRecordUM> masters;
    for (const auto& file : catalogue.files) {
        for (const std::string& bytes : file.records) {
            if (bytes.starts_with("RA")) {
                if (auto ra = TRecordRA::FromBytes(bytes)) {
                    races[std::string(ra->Field(12, 27))] = *ra;
                }
            } else if (bytes.starts_with("SE")) {
                if (auto se = TRecordSE::FromBytes(bytes)) {
                    runs[std::string(se->Field(31, 40))].push_back(
                        {std::string(se->Field(12, 19)), std::string(se->Field(12, 27)), *se});
                }
            } else if (bytes.starts_with("UM")) {
                if (auto um = TRecordUM::FromBytes(bytes)) {
                    masters.push_back(*um);
                }
            }
        }
    }

    std::set<int> earlierCounts;
    bool winnerNamesRunnerUp = false, jumpInHistory = false, pastRaceMissing = false;
    bool blankCorner = false, invitedInInternational = false;
    std::set<std::string> invited;
    for (const TRecordUM& um : masters) {
        if (!KeibaFunc::StripWideSpaces(Sjis::TrimBlanks(um.Field(863, 882))).empty()) {
            invited.insert(std::string(um.Field(12, 21)));
        }
    }
    for (const auto& [horse, list] : runs) {
        for (const TRun& run : list) {
            int earlier = 0;
            for (const TRun& before : list) {
                if (before.date >= run.date || before.se.DataKind() != '7') {
                    continue;
                }
                ++earlier;
                const auto race = races.find(before.key);
                if (race == races.end()) {
                    pastRaceMissing = true;
                } else if (race->second.Int(706, 707) > 29) {
                    jumpInHistory = true;
                }
            }
            earlierCounts.insert(earlier > 5 ? 5 : earlier);
            const TRecordSE& se = run.se;
            if (se.DataKind() != '7') {
                continue;
            }
            winnerNamesRunnerUp |= se.Int(335, 336) == 1 &&
                                   se.Field(404, 439).find_first_not_of(' ') != std::string::npos;
            blankCorner |= se.Int(335, 336) >= 1 && se.Int(358, 359) >= 1 &&
                           (se.Int(352, 353) == 0 || se.Int(354, 355) == 0);
            const auto race = races.find(run.key);
            invitedInInternational |=
                invited.contains(horse) && race != races.end() && race->second.At(619) == 'N';
        }
    }
    EXPECT_TRUE(earlierCounts.contains(5)) << "a runner with five earlier runs";
    EXPECT_TRUE(earlierCounts.contains(2)) << "a runner with two earlier runs";
    EXPECT_TRUE(earlierCounts.contains(0)) << "a runner with no earlier run";
    EXPECT_TRUE(std::any_of(masters.begin(), masters.end(), [](const TRecordUM& um) {
        return um.At(22) == '1';
    })) << "a deregistered horse";
    EXPECT_TRUE(invitedInInternational) << "an invited horse in an international race";
    EXPECT_TRUE(winnerNamesRunnerUp);
    EXPECT_TRUE(jumpInHistory);
    EXPECT_TRUE(pastRaceMissing) << "an earlier run whose race record is not published";
    EXPECT_TRUE(blankCorner);
}

} // namespace
