// Several years of setup data from the stand-in service's built-in season: a setup acquisition
// of two years gives result days over both with their payoffs, a weekend comes out the same
// whatever the years asked, and apprentices claim less as the years go by. (Each test makes
// the ten-year world: a minute each on a busy machine.)
#include "acquisition/HeadlessAcquisition.h"
#include "acquisition/SetupAcquisition.h"
#include "jvlink/standin/StandInJVLink.h"
#include "race/DateList.h"
#include "race/DayLoad.h"
#include "store/StoreTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

using namespace keiba::storetest;
using keiba::test::Show;
using keiba::test::TempDir;

standin::TCatalogue Season(int setupYears) {
    standin::TSeasonOptions options;
    options.today = "20260107";
    options.weeks = 2;
    options.setupYears = setupYears;
    return standin::GenerateSeason(options);
}

// The two-year season, made once for the tests of this file.
const standin::TCatalogue& TwoYears() {
    static const standin::TCatalogue catalogue = Season(2);
    return catalogue;
}

// The race data files by name: the results of each weekend (RA7W<saturday>.jvd) and the
// coming weekend's card (RA2W).
std::map<std::string, const standin::TDataFile*> RaceFiles(const standin::TCatalogue& c) {
    std::map<std::string, const standin::TDataFile*> files;
    for (const auto& file : c.files) {
        if (file.name.starts_with("RA")) {
            files[file.name] = &file;
        }
    }
    return files;
}

TEST(SetupYears, ATwoYearSetupGivesResultDaysOverBothYearsWithPayoffs) {
    TempDir service;
    TempDir root;
    standin::TStandInSettings settings;
    settings.downloadMsPerFile = 0;
    ASSERT_TRUE(standin::SaveSettings(service / "jvlink-standin.ini", settings));
    standin::TStandInJVLink link(service / "jvlink-standin.ini",
                                 [](const standin::TStandInSettings&) {
                                     return standin::TCatalogueRead{TwoYears(), {}};
                                 });
    ASSERT_EQ(link.JVInit("UNKNOWN"), 0);
    acquisition::TAcquisitionRequest request;
    request.dataspec = std::string(acquisition::kSetupDataSpec);
    request.option = acquisition::kSetupOption;
    request.fromTime = "20240107000000";
    request.root = root.path();
    request.pollInterval = std::chrono::milliseconds(1);
    std::atomic<bool> cancel{false};
    TRecordingSink sink;
    const auto result =
        acquisition::RunAcquisition(link, request, FixedClock(2026, 1, 7), cancel, sink);
    ASSERT_TRUE(result.Succeeded()) << Show(result.message);

    std::vector<std::string> days; // newest first
    std::map<std::string, int> daysByYear;
    for (const std::string& entry : race::MakeDateList(root.path()).entries) {
        if (race::IsResultsDayEntry(entry)) {
            days.push_back(entry);
            ++daysByYear[entry.substr(0, 4)];
        }
    }
    EXPECT_GT(daysByYear["2024"], 150) << "a hundred race days at two or three racecourses";
    EXPECT_GT(daysByYear["2025"], 150);

    // The oldest day and one a year later load whole: every runner with its horse master, every
    // race with its payoffs.
    auto day = std::make_unique<race::TRaceDayData>();
    for (const std::string& entry : {days.back(), days[days.size() / 2]}) {
        ASSERT_TRUE(race::LoadRaceDay(root.path(), entry, *day).loaded()) << Show(entry);
        EXPECT_GE(day->RaceCount, 10) << Show(entry);
        for (int s = 0; s < day->RaceCount; ++s) {
            for (int k = 0; k < race::RunnerCount(day->Races[s]); ++k) {
                EXPECT_FALSE(day->Runners[s][k].IsBlank() || day->Horses[s][k].IsBlank())
                    << Show(entry) << " race " << s + 1 << " horse " << k + 1;
            }
            EXPECT_FALSE(day->Payoffs[s].IsBlank()) << Show(entry) << " race " << s + 1;
        }
    }
    EXPECT_TRUE(days.back().starts_with("2024")) << Show(days.back());
}

TEST(SetupYears, AWeekendIsTheSameWhateverTheYearsAskedAndApprenticesClaimLessEachYear) {
    const auto two = RaceFiles(TwoYears());
    const standin::TCatalogue oneYear = Season(1);
    const auto one = RaceFiles(oneYear);
    ASSERT_GT(one.size(), 45u);
    ASSERT_TRUE(one.count("RA2W20260110.jvd")) << "the coming weekend's card";
    EXPECT_GT(two.size(), one.size() + 45) << "a second year of weekends";
    for (const auto& [name, file] : one) {
        ASSERT_TRUE(two.count(name)) << name;
        EXPECT_TRUE(two.at(name)->records == file->records) << name << " differs";
    }

    // The world of setup years has careers: jockey -> year -> the allowances claimed (SE 323),
    // one a year and less than the year before.
    std::map<std::string, std::map<std::string, std::set<char>>> claims;
    for (const auto& [name, file] : two) {
        for (const std::string& r : file->records) {
            if (r.starts_with("SE7") && r[322] != '0') {
                claims[r.substr(306, 8)][r.substr(11, 4)].insert(r[322]);
            }
        }
    }
    ASSERT_GE(claims.size(), 6u);
    for (const auto& [jockey, years] : claims) {
        char before = '9';
        for (const auto& [year, codes] : years) {
            EXPECT_EQ(codes.size(), 1u) << Show(jockey) << " in " << year;
            EXPECT_LT(*codes.begin(), before) << Show(jockey) << " claims less each year";
            before = *codes.begin();
        }
    }
}

} // namespace
