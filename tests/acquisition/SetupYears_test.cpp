// Several years of setup data from the stand-in service's built-in season: a setup acquisition
// of two years gives result days over both with their payoffs, a weekend comes out the same
// whatever the years asked, and apprentices lose their allowance as the years go by.
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

// The results files (RA7W<saturday>.jvd) by name.
std::map<std::string, const standin::TDataFile*> ResultFiles(const standin::TCatalogue& c) {
    std::map<std::string, const standin::TDataFile*> files;
    for (const auto& file : c.files) {
        if (file.name.starts_with("RA7W")) {
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

    std::map<std::string, int> daysByYear;
    std::string oldest;
    std::string lastYears;
    for (const std::string& entry : race::MakeDateList(root.path()).entries) {
        if (race::IsResultsDayEntry(entry)) {
            ++daysByYear[entry.substr(0, 4)];
            oldest = entry;
            if (lastYears.empty() && entry.starts_with("2025")) {
                lastYears = entry;
            }
        }
    }
    EXPECT_GT(daysByYear["2024"], 150) << "a hundred race days at two or three racecourses";
    EXPECT_GT(daysByYear["2025"], 150);
    EXPECT_TRUE(oldest.starts_with("2024")) << Show(oldest);

    auto day = std::make_unique<race::TRaceDayData>();
    for (const std::string& entry : {oldest, lastYears}) {
        ASSERT_TRUE(race::LoadRaceDay(root.path(), entry, *day).loaded()) << Show(entry);
        EXPECT_GE(day->RaceCount, 10) << Show(entry);
        for (int s = 0; s < day->RaceCount; ++s) {
            int runners = 0;
            int masters = 0;
            for (int k = 0; k < race::kRunnerSlots; ++k) {
                runners += day->Runners[s][k].IsBlank() ? 0 : 1;
                masters += day->Horses[s][k].IsBlank() ? 0 : 1;
            }
            EXPECT_EQ(runners, race::RunnerCount(day->Races[s])) << Show(entry) << " " << s;
            EXPECT_EQ(masters, runners) << "each runner has its horse master";
            EXPECT_FALSE(day->Payoffs[s].IsBlank()) << Show(entry) << " race " << s + 1;
        }
    }
}

TEST(SetupYears, AWeekendComesOutTheSameWhateverTheYearsAsked) {
    const auto two = ResultFiles(TwoYears());
    const standin::TCatalogue oneYear = Season(1);
    const auto one = ResultFiles(oneYear);
    ASSERT_GT(one.size(), 45u);
    EXPECT_GT(two.size(), one.size() + 45) << "a second year of weekends";
    for (const auto& [name, file] : one) {
        ASSERT_TRUE(two.count(name)) << name;
        EXPECT_TRUE(two.at(name)->records == file->records) << name << " differs";
    }
    // The coming weekend's card too.
    const auto card = [](const standin::TCatalogue& c) {
        for (const auto& file : c.files) {
            if (file.name.starts_with("RA2W")) {
                return file.records;
            }
        }
        return std::vector<std::string>{};
    };
    EXPECT_FALSE(card(oneYear).empty());
    EXPECT_TRUE(card(oneYear) == card(TwoYears()));
}

TEST(SetupYears, ApprenticesClaimLessAsTheYearsGoBy) {
    // jockey -> the allowance claimed (SE 323) by year; a jockey claims at most one in a year
    // and never more than the year before.
    std::map<std::string, std::map<std::string, std::set<char>>> claims;
    std::set<std::string> ridersByYear[2];
    for (const auto& [name, file] : ResultFiles(TwoYears())) {
        for (const std::string& r : file->records) {
            if (!r.starts_with("SE") || r.substr(11, 4) == "2026") {
                continue;
            }
            const std::string jockey = r.substr(306, 8);
            const std::string year = r.substr(11, 4);
            ridersByYear[year == "2024" ? 0 : 1].insert(jockey);
            if (r[322] != '0') {
                claims[jockey][year].insert(r[322]);
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
    // Some stop and newcomers take their places.
    int stopped = 0;
    int started = 0;
    for (const auto& j : ridersByYear[0]) {
        stopped += ridersByYear[1].count(j) == 0 ? 1 : 0;
    }
    for (const auto& j : ridersByYear[1]) {
        started += ridersByYear[0].count(j) == 0 ? 1 : 0;
    }
    EXPECT_GT(started, 0);
    EXPECT_GT(stopped, 0);
}

} // namespace
