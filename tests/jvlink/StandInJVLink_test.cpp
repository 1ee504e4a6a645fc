#include "jvlink/StandInTestCatalogue.h"
#include "jvlink/standin/CatalogueSource.h"
#include "jvlink/standin/FileIo.h"
#include "jvlink/standin/StandInJVLink.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using namespace keiba::test;
using standin::TStandInJVLink;
using standin::TStandInSettings;

constexpr const char* kSid = "UNKNOWN";
constexpr const char* kFrom = "20260101000000";

class StandInJVLinkTest : public ::testing::Test {
protected:
    StandInJVLinkTest() {
        catalogue->files = {
            MakeFile("RACE0001.dat", "RACE", "20260103090000", 3),
            MakeFile("RACE0002.dat", "RACE", "20260104090000", 20, "SE"),
            MakeFile("RCVN0001.dat", "RCVN", "20260102120000", 2, "RC"),
            MakeFile("DIFF0001.dat", "DIFF", "20260105000000", 4, "UM"),
        };
        settings.downloadMsPerFile = 0;
    }

    fs::path SettingsFile() const { return dir / "config" / "jvlink-standin.ini"; }
    fs::path CacheFolder() const { return dir / "config" / "jvlink-standin-data"; }

    // A component over the catalogue with the fixture's settings saved first.
    std::unique_ptr<TStandInJVLink> Make(standin::TSettingsEditor editor = {}) {
        EXPECT_TRUE(standin::SaveSettings(SettingsFile(), settings));
        return std::make_unique<TStandInJVLink>(SettingsFile(), Serve(catalogue), std::move(editor),
                                                Clock());
    }
    std::unique_ptr<TStandInJVLink> MakeInitialised() {
        auto link = Make();
        EXPECT_EQ(link->JVInit(kSid), 0);
        return link;
    }

    std::int32_t Open(jvlink::IJVLink& link, const std::string& dataSpec = "RACERCVN",
                      const std::string& from = kFrom, std::int32_t option = 2) {
        readCount = downloadCount = -99;
        lastTimestamp = "unset";
        return link.JVOpen(dataSpec, from, option, readCount, downloadCount, lastTimestamp);
    }

    // The service's clock: now when set, else the machine's time.
    standin::TServiceClock Clock() {
        return [this] { return now.empty() ? standin::LocalTimestampNow() : now; };
    }

    TempDir dir;
    std::shared_ptr<standin::TCatalogue> catalogue = std::make_shared<standin::TCatalogue>();
    TStandInSettings settings;
    std::string now;
    std::int32_t readCount = 0;
    std::int32_t downloadCount = 0;
    std::string lastTimestamp;
};

// ---- JVInit and the order of calls ------------------------------------------------------

TEST_F(StandInJVLinkTest, InitChecksTheSoftwareIdentifier) {
    auto link = Make();
    EXPECT_EQ(link->JVInit(""), -101);
    EXPECT_EQ(link->JVInit(std::string(64, 'A')), -102);
    EXPECT_EQ(link->JVInit(" SID"), -103);
    EXPECT_EQ(link->JVInit(S("　SID")), -103); // a full-width blank is a blank too
    EXPECT_EQ(link->JVStatus(), -201) << "a failed JVInit leaves the component uninitialised";
    EXPECT_EQ(link->JVInit(std::string(63, 'A')), 0);
    EXPECT_EQ(link->JVInit(S("競馬 新聞")), 0); // blanks after the first character are fine
}

TEST_F(StandInJVLinkTest, EveryCallBeforeInitGivesMinus201) {
    auto link = Make();
    std::string buffer;
    std::string name;
    EXPECT_EQ(Open(*link), -201);
    EXPECT_EQ(link->JVStatus(), -201);
    EXPECT_EQ(link->JVRead(buffer, 60000, name), -201);
    EXPECT_EQ(link->JVCancel(), -201);
    EXPECT_EQ(link->JVClose(), -201);
    EXPECT_EQ(link->JVSetUIProperties(), -201);
    EXPECT_EQ(link->JVLinkVersion(), "0490") << "the version property needs no JVInit";
}

TEST_F(StandInJVLinkTest, ReadingAndStatusNeedAnOpenAndOpenNeedsAClose) {
    auto link = MakeInitialised();
    std::string buffer;
    std::string name;
    EXPECT_EQ(link->JVStatus(), -203);
    EXPECT_EQ(link->JVRead(buffer, 60000, name), -203);
    EXPECT_EQ(link->JVClose(), 0) << "closing with nothing open is harmless";
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(Open(*link), -202);
    EXPECT_EQ(readCount, 0) << "out values of a refused JVOpen are reset";
    EXPECT_EQ(link->JVClose(), 0);
    EXPECT_EQ(link->JVStatus(), -203);
    EXPECT_EQ(Open(*link), 0);
}

TEST_F(StandInJVLinkTest, InitFaultKeepsTheComponentUninitialised) {
    settings.faults.initError = -211;
    auto link = Make();
    EXPECT_EQ(link->JVInit(kSid), -211);
    EXPECT_EQ(Open(*link), -201);
    EXPECT_EQ(link->JVInit(""), -101) << "the sid is checked before the fault";
}

TEST_F(StandInJVLinkTest, VersionComesFromTheSettings) {
    settings.version = "0500";
    auto link = MakeInitialised();
    EXPECT_EQ(link->JVLinkVersion(), "0500");
}

// ---- JVOpen arguments ------------------------------------------------------------------

TEST_F(StandInJVLinkTest, OpenRejectsBadArguments) {
    auto link = MakeInitialised();
    struct Case {
        std::string dataSpec;
        std::string from;
        std::int32_t option;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"", kFrom, 2, -111},
        {"RAC", kFrom, 2, -111},
        {"RACERCV", kFrom, 2, -111},
        {"RACEXXXX", kFrom, 2, -111},
        {"race", kFrom, 2, -111},
        {"RACE", "2026010100000", 2, -112},
        {"RACE", "202601010000000", 2, -112},
        {"RACE", "2026010100000a", 2, -112},
        {"RACE", "20260230000000", 2, -112},
        {"RACE", "20230229000000", 2, -112},
        {"RACE", "20261301000000", 2, -112},
        {"RACE", "20260101240000", 2, -112},
        {"RACE", "20260101006000", 2, -112},
        {"RACE", "20260101000060", 2, -112},
        {"RACE", "2026/01/01 00:0", 2, -112},
        {"RACE", kFrom, 0, -115},
        {"RACE", kFrom, 5, -115},
        {"RACE", kFrom, -2, -115},
        {"DIFF", kFrom, 2, -116}, // accumulated data is not this week's data
        {"RACEBLOD", kFrom, 2, -116},
        {"RCVN", kFrom, 1, -116}, // this week's data only with option 2
        {"RACETCOV", kFrom, 4, -116},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Open(*link, c.dataSpec, c.from, c.option), c.expected)
            << c.dataSpec << " " << c.from << " " << c.option;
        EXPECT_EQ(link->JVStatus(), -203) << "a refused JVOpen opens nothing";
    }
    EXPECT_EQ(Open(*link, "RACE", "20240229235959", 1), 0) << "a leap day is a date";
    EXPECT_EQ(link->JVClose(), 0);
    EXPECT_EQ(Open(*link, "DIFFBLODRACE", kFrom, 3), 0);
}

TEST_F(StandInJVLinkTest, OpenChecksInAFixedOrder) {
    settings.serviceKey = "";
    settings.faults.openError = -504;
    auto link = MakeInitialised();
    EXPECT_EQ(Open(*link, "RACX", "2026", 9), -111);
    EXPECT_EQ(Open(*link, "RACE", "2026", 9), -112);
    EXPECT_EQ(Open(*link, "RACE", kFrom, 9), -115);
    EXPECT_EQ(Open(*link, "DIFF", kFrom, 2), -116);
    EXPECT_EQ(Open(*link, "RACE", kFrom, 2), -303) << "the service key before the open fault";
    settings.serviceKey = "KEY";
    standin::SaveSettings(SettingsFile(), settings);
    EXPECT_EQ(Open(*link, "RACE", kFrom, 2), -504);
}

TEST_F(StandInJVLinkTest, OpenWithoutServiceKeyGivesMinus303) {
    settings.serviceKey = "   ";
    auto link = MakeInitialised();
    EXPECT_EQ(Open(*link), -303);
}

TEST_F(StandInJVLinkTest, OpenFaultsComeFromTheSettingsOfEachOpen) {
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(link->JVClose(), 0);
    for (const std::int32_t code : {-504, -301, -302, -305, -411, -431}) {
        settings.faults.openError = code;
        ASSERT_TRUE(standin::SaveSettings(SettingsFile(), settings));
        EXPECT_EQ(Open(*link), code);
        EXPECT_EQ(link->JVStatus(), -203);
    }
}

// ---- Selecting files -------------------------------------------------------------------

TEST_F(StandInJVLinkTest, OpenSelectsRequestedFilesNewerThanTheFromTime) {
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link, "RACERCVN", "20260102120000", 2), 0);
    // RCVN0001 is exactly as old as the from-time: not newer. DIFF was not asked for.
    EXPECT_EQ(readCount, 2);
    EXPECT_EQ(downloadCount, 2);
    EXPECT_EQ(lastTimestamp, "20260104090000");
    const auto read = ReadEverything(*link);
    ASSERT_EQ(read.end, 0);
    ASSERT_EQ(read.files.size(), 2u);
    EXPECT_EQ(read.files[0].first, "RACE0001.dat");
    EXPECT_EQ(read.files[1].first, "RACE0002.dat");
}

TEST_F(StandInJVLinkTest, NothingNewerGivesMinus1AndStillWantsAClose) {
    auto link = MakeInitialised();
    EXPECT_EQ(Open(*link, "RACERCVN", "20260104090000", 2), -1);
    EXPECT_EQ(readCount, 0);
    EXPECT_EQ(downloadCount, 0);
    EXPECT_EQ(Open(*link), -202);
    std::string buffer;
    std::string name;
    EXPECT_EQ(link->JVRead(buffer, 60000, name), 0);
    EXPECT_EQ(link->JVClose(), 0);
    EXPECT_EQ(Open(*link), 0);
}

TEST_F(StandInJVLinkTest, NothingIsServedBeforeItsPublicationTime) {
    now = "20260104090000"; // RACE0002 is published this very second, DIFF0001 tomorrow
    catalogue->files.push_back(MakeFile("RACE0003.dat", "RACE", "20260104090001", 1));
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link, "RACEDIFF", kFrom, 1), 0);
    EXPECT_EQ(readCount, 2);
    EXPECT_EQ(lastTimestamp, "20260104090000");
    ASSERT_EQ(link->JVClose(), 0);

    // From that last time, the next day: only what was published since.
    now = "20260105000000";
    ASSERT_EQ(Open(*link, "RACEDIFF", "20260104090000", 1), 0);
    EXPECT_EQ(lastTimestamp, "20260105000000");
    const auto read = ReadEverything(*link);
    ASSERT_EQ(read.files.size(), 2u);
    EXPECT_EQ(read.files[0].first, "RACE0003.dat");
    EXPECT_EQ(read.files[1].first, "DIFF0001.dat");
    ASSERT_EQ(link->JVClose(), 0);

    now = "2026010"; // a clock that gives no time
    EXPECT_EQ(Open(*link), -401);
}

TEST_F(StandInJVLinkTest, BuiltInSeasonServesTheCardFromItsFriday) {
    settings.seasonWeeks = 1;
    ASSERT_TRUE(standin::SaveSettings(SettingsFile(), settings));
    TStandInJVLink link(SettingsFile(), standin::SettingsCatalogueProvider(Clock()), {}, Clock());
    ASSERT_EQ(link.JVInit(kSid), 0);
    const auto read = [&](const std::string& from) {
        EXPECT_EQ(link.JVOpen("RACERCVN", from, 2, readCount, downloadCount, lastTimestamp), 0);
        std::set<std::string> names;
        for (const auto& file : ReadEverything(link).files) {
            names.insert(file.first);
        }
        EXPECT_EQ(link.JVClose(), 0);
        return names;
    };
    // Tuesday 9 June 2026: the last weekend's results came on Monday at 10:00; the coming
    // weekend's card is not out until Friday at 17:00.
    now = "20260609120000";
    const auto tuesday = read("20000101000000");
    EXPECT_EQ(lastTimestamp, "20260608100000");
    EXPECT_TRUE(tuesday.count("RA7W20260606.jvd"));
    EXPECT_FALSE(tuesday.count("RA2W20260613.jvd"));
    // Saturday 13 June, 9:00: from Tuesday's last time on, the card and nothing older.
    now = "20260613090000";
    const auto saturday = read("20260608100000");
    EXPECT_EQ(lastTimestamp, "20260612170000");
    EXPECT_TRUE(saturday.count("RA2W20260613.jvd"));
    EXPECT_FALSE(saturday.count("RA7W20260606.jvd"));
}

TEST_F(StandInJVLinkTest, ASetupServesEverythingFromTheFromTimeAfterFetchingIt) {
    now = "20260106000000";
    auto link = MakeInitialised();
    for (const std::int32_t option : {3, 4}) {
        ASSERT_EQ(Open(*link, "RACEDIFF", "20250106000000", option), 0);
        // Both race files and the master file; on the second setup they are in the cache.
        EXPECT_EQ(readCount, 3);
        EXPECT_EQ(downloadCount, option == 3 ? 3 : 0);
        EXPECT_EQ(WaitForStatus(*link, downloadCount), downloadCount);
        const auto read = ReadEverything(*link);
        ASSERT_EQ(read.files.size(), 3u);
        EXPECT_EQ(read.files[2].first, "DIFF0001.dat");
        EXPECT_EQ(link->JVClose(), 0);
    }
    EXPECT_EQ(Open(*link, "RACERCVN", kFrom, 3), -116) << "this week's data are no setup data";
}

TEST_F(StandInJVLinkTest, FilesAreReadInPublicationOrder) {
    // The catalogue arrives unordered; equal times go by name.
    catalogue->files = {
        MakeFile("B.dat", "RACE", "20260105000000", 1),
        MakeFile("C.dat", "RCVN", "20260102000000", 1),
        MakeFile("A.dat", "RACE", "20260105000000", 1),
    };
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(lastTimestamp, "20260105000000");
    const auto read = ReadEverything(*link);
    ASSERT_EQ(read.files.size(), 3u);
    EXPECT_EQ(read.files[0].first, "C.dat");
    EXPECT_EQ(read.files[1].first, "A.dat");
    EXPECT_EQ(read.files[2].first, "B.dat");
}

TEST_F(StandInJVLinkTest, BadCatalogueIsAnInternalError) {
    auto link = MakeInitialised();
    catalogue->files.push_back(MakeFile("../escape.dat", "RACE", "20260106000000", 1));
    EXPECT_EQ(Open(*link), -401);
    catalogue->files.back().name = "race0001.DAT"; // the same name as another, case aside
    EXPECT_EQ(Open(*link), -401);
    EXPECT_FALSE(fs::exists(dir / "config" / "escape.dat"));

    TStandInJVLink failing(SettingsFile(), [](const TStandInSettings&) {
        return standin::TCatalogueRead{{}, "no data"};
    });
    ASSERT_EQ(failing.JVInit(kSid), 0);
    EXPECT_EQ(Open(failing), -401);
    TStandInJVLink throwing(SettingsFile(), [](const TStandInSettings&) -> standin::TCatalogueRead {
        throw std::runtime_error("generator failed");
    });
    ASSERT_EQ(throwing.JVInit(kSid), 0);
    EXPECT_EQ(Open(throwing), -401);
    EXPECT_EQ(throwing.JVStatus(), -203);
}

// ---- Reading ---------------------------------------------------------------------------

TEST_F(StandInJVLinkTest, ReadGivesEveryRecordOnceThenMinus1PerFileThen0) {
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(WaitForStatus(*link, downloadCount), 3);
    std::string buffer;
    std::string name;
    // The first file, record by record.
    std::multiset<std::string> first;
    for (int i = 0; i < 2; ++i) {
        const std::int32_t size = link->JVRead(buffer, 60000, name);
        ASSERT_EQ(size, 40);
        EXPECT_EQ(static_cast<std::size_t>(size), buffer.size());
        EXPECT_TRUE(buffer.ends_with("\r\n"));
        EXPECT_EQ(name, "RCVN0001.dat");
        first.insert(buffer);
    }
    EXPECT_EQ(first, (std::multiset<std::string>{MakeRecord("RC", 1), MakeRecord("RC", 2)}));
    EXPECT_EQ(link->JVRead(buffer, 60000, name), -1);
    EXPECT_EQ(name, "RCVN0001.dat");
    EXPECT_TRUE(buffer.empty());

    const auto rest = ReadEverything(*link);
    ASSERT_EQ(rest.end, 0);
    ASSERT_EQ(rest.files.size(), 2u);
    EXPECT_EQ(rest.files[0].second.size(), 3u);
    EXPECT_EQ(rest.files[1].second.size(), 20u);
    EXPECT_EQ(link->JVRead(buffer, 60000, name), 0) << "the end stays the end";
}

TEST_F(StandInJVLinkTest, RecordsOfAFileComeUnsortedButAlwaysInTheSameOrder) {
    const auto readOnce = [this] {
        auto link = MakeInitialised();
        EXPECT_EQ(Open(*link, "RACE", "20260103120000", 2), 0);
        auto read = ReadEverything(*link);
        EXPECT_EQ(read.files.size(), 1u);
        return read.files.at(0).second;
    };
    const auto first = readOnce();
    const auto second = readOnce(); // from the cache this time
    const auto& published = catalogue->files[1].records;
    ASSERT_EQ(first.size(), published.size());
    EXPECT_NE(first, published);
    EXPECT_TRUE(std::is_permutation(first.begin(), first.end(), published.begin()));
    EXPECT_EQ(first, second);
}

TEST_F(StandInJVLinkTest, JapaneseRecordBytesPassUnchanged) {
    const std::string record = S("RA1東京芝ダート①髙～") + "\x81\x40\r\n";
    catalogue->files = {{"J.dat", "RACE", "20260110000000", {record}}};
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    const auto read = ReadEverything(*link);
    ASSERT_EQ(read.files.size(), 1u);
    EXPECT_EQ(read.files[0].second, std::vector<std::string>{record});
}

TEST_F(StandInJVLinkTest, FileWithoutRecordsStillEndsWithMinus1) {
    catalogue->files = {{"EMPTY.dat", "RACE", "20260110000000", {}}};
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(readCount, 1);
    const auto read = ReadEverything(*link);
    EXPECT_EQ(read.end, 0);
    ASSERT_EQ(read.files.size(), 1u);
    EXPECT_TRUE(read.files[0].second.empty());
}

// ---- Downloading -----------------------------------------------------------------------

TEST_F(StandInJVLinkTest, StatusClimbsToTheDownloadCountAndStaysThere) {
    settings.downloadMsPerFile = 25;
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(downloadCount, 3);
    std::vector<std::int32_t> seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((seen.empty() || seen.back() != 3) && std::chrono::steady_clock::now() < deadline) {
        seen.push_back(link->JVStatus());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 3);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    std::set<std::int32_t> distinct(seen.begin(), seen.end());
    EXPECT_EQ(distinct, (std::set<std::int32_t>{0, 1, 2, 3})) << "one file at a time";
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(link->JVStatus(), 3);
    EXPECT_EQ(ReadEverything(*link).end, 0);
    EXPECT_EQ(link->JVStatus(), 3) << "until JVClose";
    EXPECT_EQ(link->JVClose(), 0);
    EXPECT_EQ(link->JVStatus(), -203);
}

TEST_F(StandInJVLinkTest, ReadingAheadOfTheDownloadGivesMinus3) {
    settings.downloadMsPerFile = 40;
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    std::string buffer;
    std::string name;
    EXPECT_EQ(link->JVRead(buffer, 60000, name), -3);
    EXPECT_EQ(name, "RCVN0001.dat");
    const auto read = ReadEverything(*link);
    EXPECT_EQ(read.end, 0);
    EXPECT_EQ(read.files.size(), 3u);
    EXPECT_GT(read.downloading, 0);
}

TEST_F(StandInJVLinkTest, DownloadedFilesAreKeptInTheCache) {
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(WaitForStatus(*link, 3), 3);
    ASSERT_EQ(link->JVClose(), 0);
    EXPECT_EQ(ReadFileBytes(CacheFolder() / "RACE0001.dat"),
              MakeRecord("RA", 1) + MakeRecord("RA", 2) + MakeRecord("RA", 3));

    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(readCount, 3);
    EXPECT_EQ(downloadCount, 0);
    EXPECT_EQ(link->JVStatus(), 0);
    EXPECT_EQ(ReadEverything(*link).files.size(), 3u);
    ASSERT_EQ(link->JVClose(), 0);

    // A cached copy that is not the published file is fetched again; a new file too.
    WriteFileBytes(CacheFolder() / "RACE0001.dat", MakeRecord("XX", 9));
    catalogue->files.push_back(MakeFile("RACE0003.dat", "RACE", "20260106000000", 2));
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(readCount, 4);
    EXPECT_EQ(downloadCount, 2);
    EXPECT_EQ(WaitForStatus(*link, 2), 2);
    const auto read = ReadEverything(*link);
    ASSERT_EQ(read.files.size(), 4u);
    EXPECT_EQ(read.files[1].second.size(), 3u);
}

TEST_F(StandInJVLinkTest, CacheFolderCanBeChosen) {
    settings.cacheFolder = standin::PathToUtf8(dir / "elsewhere");
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(WaitForStatus(*link, 3), 3);
    EXPECT_TRUE(fs::exists(dir / "elsewhere" / "RACE0002.dat"));
    EXPECT_FALSE(fs::exists(CacheFolder()));
}

TEST_F(StandInJVLinkTest, CancelStopsTheDownloadAndEndsTheAcquisition) {
    for (int i = 0; i < 6; ++i) {
        catalogue->files.push_back(
            MakeFile("MORE" + std::to_string(i) + ".dat", "RACE", "20260107000000", 1));
    }
    settings.downloadMsPerFile = 30;
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(downloadCount, 9);
    ASSERT_EQ(WaitForStatus(*link, 1), 1);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(link->JVCancel(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(200));
    EXPECT_EQ(link->JVStatus(), -203);

    std::size_t cached = 0;
    for (const auto& entry : fs::directory_iterator(CacheFolder())) {
        EXPECT_EQ(entry.path().extension(), ".dat") << "no half-written file is left";
        ++cached;
    }
    EXPECT_GE(cached, 1u);
    EXPECT_LT(cached, 9u);
    // A new acquisition without JVClose, fetching only what is missing.
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(readCount, 9);
    EXPECT_EQ(downloadCount, static_cast<std::int32_t>(9 - cached));
    EXPECT_EQ(link->JVClose(), 0);
}

TEST_F(StandInJVLinkTest, CloseDuringTheDownloadDoesNotWaitForIt) {
    settings.downloadMsPerFile = 2000;
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(link->JVClose(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

TEST_F(StandInJVLinkTest, DestroyingTheComponentStopsItsDownload) {
    settings.downloadMsPerFile = 2000;
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    const auto started = std::chrono::steady_clock::now();
    link.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

// ---- Faults ----------------------------------------------------------------------------

TEST_F(StandInJVLinkTest, StatusFailsAfterTheGivenNumberOfFiles) {
    settings.faults.statusFailAfter = 1;
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(WaitForStatus(*link, 3), -502);
    EXPECT_EQ(link->JVStatus(), -502) << "a failed download stays failed";
    std::string buffer;
    std::string name;
    // The file fetched before the failure reads; the next one can never come.
    const auto read = ReadEverything(*link);
    EXPECT_EQ(read.end, -502);
    EXPECT_EQ(read.files.size(), 1u);
    EXPECT_EQ(link->JVClose(), 0);
}

TEST_F(StandInJVLinkTest, StatusFaultCanFailBeforeTheFirstFileWithItsOwnCode) {
    settings.faults.statusFailAfter = 0;
    settings.faults.statusError = -999;
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(WaitForStatus(*link, 3), -999);
}

TEST_F(StandInJVLinkTest, UnwritableCacheFailsTheDownload) {
    WriteFileBytes(dir / "blocker", "not a folder");
    settings.cacheFolder = standin::PathToUtf8(dir / "blocker" / "cache");
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(WaitForStatus(*link, 3), -502);
}

TEST_F(StandInJVLinkTest, ReadFaultReplacesTheNthRecordOnce) {
    settings.faults.readFailAt = 3;
    settings.faults.readError = -403;
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(WaitForStatus(*link, 3), 3);
    std::string buffer;
    std::string name;
    EXPECT_GT(link->JVRead(buffer, 60000, name), 0);
    EXPECT_GT(link->JVRead(buffer, 60000, name), 0);
    EXPECT_EQ(link->JVRead(buffer, 60000, name), -1); // the end of file does not count
    EXPECT_EQ(link->JVRead(buffer, 60000, name), -403);
    EXPECT_TRUE(buffer.empty());
    // Read on, and the record held back comes: nothing is lost.
    const auto rest = ReadEverything(*link);
    EXPECT_EQ(rest.end, 0);
    ASSERT_EQ(rest.files.size(), 2u);
    EXPECT_EQ(rest.files[0].second.size(), 3u);
}

TEST_F(StandInJVLinkTest, CorruptRecordFaults) {
    struct Case {
        standin::TCorruption corruption;
        std::function<void(const std::string& original, const std::string& damaged)> check;
    };
    const std::vector<Case> cases = {
        {standin::TCorruption::Short,
         [](const std::string& original, const std::string& damaged) {
             EXPECT_EQ(damaged, original.substr(0, 19) + "\r\n");
         }},
        {standin::TCorruption::Bytes,
         [](const std::string& original, const std::string& damaged) {
             ASSERT_EQ(damaged.size(), original.size());
             EXPECT_EQ(damaged.substr(15, 8), std::string("\x00\x80\xA0\xFD\xFE\xFF\x82 ", 8));
             EXPECT_EQ(damaged.substr(0, 15), original.substr(0, 15));
             EXPECT_TRUE(damaged.ends_with("\r\n"));
         }},
        {standin::TCorruption::Path,
         [](const std::string& original, const std::string& damaged) {
             ASSERT_EQ(damaged.size(), original.size());
             EXPECT_EQ(damaged.substr(11, 8), "../..\\..");
             EXPECT_EQ(damaged.substr(0, 11), original.substr(0, 11));
             EXPECT_EQ(damaged.substr(19), original.substr(19));
         }},
    };
    for (const auto& c : cases) {
        settings.faults.corruptAt = 2;
        settings.faults.corruption = c.corruption;
        auto link = MakeInitialised();
        ASSERT_EQ(Open(*link, "RCVN", kFrom, 2), 0);
        const auto read = ReadEverything(*link);
        ASSERT_EQ(read.files.size(), 1u);
        const auto& records = read.files[0].second;
        ASSERT_EQ(records.size(), 2u);
        const std::string& intact = records[0];
        const std::string original =
            intact == MakeRecord("RC", 1) ? MakeRecord("RC", 2) : MakeRecord("RC", 1);
        c.check(original, records[1]);
    }
}

TEST_F(StandInJVLinkTest, CloseFaultStillCloses) {
    settings.faults.closeError = -999;
    auto link = MakeInitialised();
    EXPECT_EQ(link->JVClose(), 0) << "nothing open: nothing to fail";
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(link->JVClose(), -999);
    EXPECT_EQ(link->JVStatus(), -203);
    EXPECT_EQ(Open(*link), 0);
}

TEST_F(StandInJVLinkTest, EmptyOpenAndTimestampForms) {
    settings.faults.openEmpty = true;
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(readCount, 0);
    EXPECT_EQ(downloadCount, 0);
    EXPECT_EQ(link->JVStatus(), 0);
    EXPECT_EQ(ReadEverything(*link).end, 0);
    ASSERT_EQ(link->JVClose(), 0);

    settings.faults.openEmpty = false;
    settings.faults.lastFileTimestamp = standin::TTimestampForm::Blank;
    ASSERT_TRUE(standin::SaveSettings(SettingsFile(), settings));
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(lastTimestamp, "              ");
    ASSERT_EQ(link->JVClose(), 0);
    settings.faults.lastFileTimestamp = standin::TTimestampForm::Zeros;
    ASSERT_TRUE(standin::SaveSettings(SettingsFile(), settings));
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(lastTimestamp, "00000000000000");
    EXPECT_EQ(readCount, 3);
}

TEST_F(StandInJVLinkTest, CachedFileLostOrChangedBeforeReading) {
    auto link = MakeInitialised();
    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(WaitForStatus(*link, 3), 3);
    fs::remove(CacheFolder() / "RCVN0001.dat");
    std::string buffer;
    std::string name;
    EXPECT_EQ(link->JVRead(buffer, 60000, name), -503);
    EXPECT_EQ(name, "RCVN0001.dat");
    ASSERT_EQ(link->JVClose(), 0);

    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(WaitForStatus(*link, 1), 1);
    WriteFileBytes(CacheFolder() / "RCVN0001.dat", MakeRecord("RC", 1));
    EXPECT_EQ(link->JVRead(buffer, 60000, name), -402);
    ASSERT_EQ(link->JVClose(), 0);

    ASSERT_EQ(Open(*link), 0);
    ASSERT_EQ(WaitForStatus(*link, 1), 1);
    std::string noLineEnd = MakeRecord("RC", 1) + MakeRecord("RC", 2);
    noLineEnd.back() = ' ';
    WriteFileBytes(CacheFolder() / "RCVN0001.dat", noLineEnd);
    EXPECT_EQ(link->JVRead(buffer, 60000, name), -403);
}

// ---- The settings dialog ---------------------------------------------------------------

TEST_F(StandInJVLinkTest, SetUIPropertiesSavesWhatTheDialogGives) {
    standin::TEditOutcome outcome = standin::TEditOutcome::Accepted;
    auto link = Make([&outcome](TStandInSettings& edited) {
        edited.serviceKey = "EDITED-KEY";
        edited.version = "0501";
        return outcome;
    });
    ASSERT_EQ(link->JVInit(kSid), 0);
    EXPECT_EQ(link->JVSetUIProperties(), 0);
    EXPECT_EQ(standin::LoadSettings(SettingsFile()).serviceKey, "EDITED-KEY");
    EXPECT_EQ(link->JVLinkVersion(), "0501");

    settings.serviceKey = "BEFORE";
    ASSERT_TRUE(standin::SaveSettings(SettingsFile(), settings));
    outcome = standin::TEditOutcome::Cancelled;
    EXPECT_EQ(link->JVSetUIProperties(), 0);
    EXPECT_EQ(standin::LoadSettings(SettingsFile()).serviceKey, "BEFORE");

    outcome = standin::TEditOutcome::Unavailable;
    EXPECT_EQ(link->JVSetUIProperties(), -100);
    EXPECT_EQ(standin::LoadSettings(SettingsFile()).serviceKey, "BEFORE");
}

TEST_F(StandInJVLinkTest, SetUIPropertiesReportsAFailedSave) {
    auto link = Make([](TStandInSettings&) { return standin::TEditOutcome::Accepted; });
    ASSERT_EQ(link->JVInit(kSid), 0);
    fs::remove(SettingsFile());
    fs::create_directories(SettingsFile()); // a folder where the file should be
    EXPECT_EQ(link->JVSetUIProperties(), -100);

    TStandInJVLink noDialog(SettingsFile(), Serve(catalogue));
    ASSERT_EQ(noDialog.JVInit(kSid), 0);
    EXPECT_EQ(noDialog.JVSetUIProperties(), -100);
}

TEST_F(StandInJVLinkTest, SetUIPropertiesWorksDuringAnAcquisition) {
    auto link = Make([](TStandInSettings& edited) {
        edited.faults.closeError = -999;
        return standin::TEditOutcome::Accepted;
    });
    ASSERT_EQ(link->JVInit(kSid), 0);
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(link->JVSetUIProperties(), 0);
    EXPECT_EQ(link->JVClose(), 0) << "faults change with the next JVOpen";
    ASSERT_EQ(Open(*link), 0);
    EXPECT_EQ(link->JVClose(), -999);
}

} // namespace
