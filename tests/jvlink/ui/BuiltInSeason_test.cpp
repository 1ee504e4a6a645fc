// The built-in season as the program receives it: through the stand-in plug-in created by the
// programmatic identifier, with the acquisition's own calls (JVInit, JVOpen of "RACERCVN"
// with option 2, JVStatus until the files are fetched, JVRead until 0, JVClose).
#include "jvlink/CreateJVLink.h"
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/CatalogueSource.h"
#include "jvlink/standin/StandInSettings.h"
#include "support/TestSupport.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <thread>

namespace {

using keiba::test::TempDir;

class BuiltInSeasonTest : public ::testing::Test {
protected:
    BuiltInSeasonTest() {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            oldConfig_ = old;
        }
        setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
        standin::TStandInSettings settings; // the built-in season, as installed
        settings.downloadMsPerFile = 0;
        EXPECT_TRUE(standin::SaveSettings(config_ / "tomberly" / "jvlink-standin.ini", settings));
    }
    ~BuiltInSeasonTest() override {
        if (oldConfig_) {
            setenv("XDG_CONFIG_HOME", oldConfig_->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

    // What one acquisition delivered.
    struct TAcquired {
        std::int32_t open = 0;
        std::int32_t reads = 0;
        std::int32_t downloads = 0;
        std::string lastTimestamp;
        std::int32_t end = 1; // the last JVRead code
        int filesEnded = 0;
        std::map<std::string, int> perType;
        std::map<std::string, std::size_t> lengths; // a record length of each type
        bool lengthsAgree = true;
    };

    // The acquisition as the program runs it.
    static TAcquired Acquire(jvlink::IJVLink& link, const std::string& fromTime) {
        TAcquired got;
        got.open =
            link.JVOpen("RACERCVN", fromTime, 2, got.reads, got.downloads, got.lastTimestamp);
        if (got.open != 0) {
            link.JVClose();
            return got;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        for (std::int32_t status = link.JVStatus(); status != got.downloads;
             status = link.JVStatus()) {
            if (status < 0 || std::chrono::steady_clock::now() > deadline) {
                got.end = status;
                link.JVClose();
                return got;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        for (;;) {
            std::string buffer;
            std::string fileName;
            const std::int32_t code = link.JVRead(buffer, 60000, fileName);
            if (code > 0) {
                const std::string type = buffer.substr(0, 2);
                ++got.perType[type];
                const auto [it, added] = got.lengths.emplace(type, buffer.size());
                got.lengthsAgree = got.lengthsAgree && it->second == buffer.size();
            } else if (code == -1) {
                ++got.filesEnded;
            } else if (code == -2 || code == -3) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            } else {
                got.end = code;
                break;
            }
        }
        EXPECT_EQ(link.JVClose(), 0);
        return got;
    }

private:
    TempDir config_;
    std::optional<std::string> oldConfig_;
};

TEST_F(BuiltInSeasonTest, TheProgramReadsTheWholeSeason) {
    auto link = jvlink::CreateJVLink(jvlink::kJVLinkProgId);
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->JVInit("UNKNOWN"), 0);
    const auto start = std::chrono::steady_clock::now();
    const TAcquired got = Acquire(*link, "19000101000000");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("seconds", std::to_string(seconds));

    // The season the component made for today, as published by now under the identifiers asked
    // for (not the setup's accumulated copies, DIFN), counted here directly.
    const std::string now = standin::LocalTimestampNow();
    standin::TSeasonOptions options;
    options.today = now.substr(0, 8);
    auto season = standin::GenerateSeason(options);
    std::erase_if(season.files, [&](const auto& file) {
        return file.timestamp > now || file.dataspec == "DIFN";
    });
    std::map<std::string, int> expected;
    for (const auto& file : season.files) {
        for (const auto& record : file.records) {
            ++expected[record.substr(0, 2)];
        }
    }

    ASSERT_EQ(got.open, 0);
    EXPECT_EQ(got.end, 0) << "JVRead ends the data with 0";
    EXPECT_EQ(got.reads, static_cast<std::int32_t>(season.files.size()));
    EXPECT_EQ(got.downloads, got.reads) << "a fresh download cache";
    EXPECT_EQ(got.filesEnded, got.reads);
    EXPECT_EQ(got.lastTimestamp, season.files.back().timestamp);
    EXPECT_EQ(got.perType, expected);
    EXPECT_TRUE(got.lengthsAgree);
    const std::map<std::string, std::size_t> lengths = {{"RA", 1272}, {"SE", 555}, {"HR", 719},
                                                        {"UM", 1609}, {"RC", 501}, {"O1", 962}};
    EXPECT_EQ(got.lengths, lengths);
    EXPECT_GT(got.perType.at("SE"), 10000);
}

TEST_F(BuiltInSeasonTest, ALaterAcquisitionGetsOnlyWhatWasPublishedSince) {
    const std::string now = standin::LocalTimestampNow();
    standin::TSeasonOptions options;
    options.today = now.substr(0, 8);
    auto season = standin::GenerateSeason(options);
    std::erase_if(season.files, [&](const auto& file) { return file.timestamp > now; });
    // From the last results on: the coming weekend's card and its masters.
    std::string lastResults;
    for (const auto& file : season.files) {
        if (file.name.starts_with("RA7")) {
            lastResults = file.timestamp;
        }
    }
    ASSERT_FALSE(lastResults.empty());
    int newer = 0;
    for (const auto& file : season.files) {
        newer += file.timestamp > lastResults ? 1 : 0;
    }

    auto link = jvlink::CreateJVLink(jvlink::kJVLinkProgId);
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->JVInit("UNKNOWN"), 0);
    const TAcquired got = Acquire(*link, lastResults);
    if (newer == 0) {
        // Before Friday's card nothing is newer than the last results.
        EXPECT_EQ(got.open, -1);
        return;
    }
    ASSERT_EQ(got.open, 0);
    EXPECT_EQ(got.end, 0);
    EXPECT_EQ(got.reads, newer);
    EXPECT_LE(got.lastTimestamp, now) << "never a time ahead of the service's clock";
    EXPECT_EQ(got.perType.count("HR"), 0u) << "no results after the last results";
    EXPECT_GT(got.perType.count("RA"), 0u) << "the card";
    EXPECT_GT(got.perType.count("SE"), 0u);
}

} // namespace
