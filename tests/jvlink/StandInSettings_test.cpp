#include "jvlink/standin/FileIo.h"
#include "jvlink/standin/StandInSettings.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace {

namespace fs = std::filesystem;
using namespace keiba::test;
using standin::TStandInSettings;

TEST(StandInSettings, DefaultsLetTheProgramWorkOutOfTheBox) {
    const TStandInSettings defaults;
    EXPECT_FALSE(defaults.serviceKey.empty());
    EXPECT_EQ(defaults.source, standin::TDataSource::BuiltIn);
    EXPECT_EQ(defaults.version, "0490");
    EXPECT_EQ(defaults.faults, standin::TFaults{});
    EXPECT_EQ(defaults.faults.openError, 0);
    EXPECT_EQ(defaults.faults.statusFailAfter, -1);
    EXPECT_EQ(defaults.faults.readFailAt, 0);
    EXPECT_EQ(defaults.faults.corruptAt, 0);
    TempDir dir;
    EXPECT_EQ(standin::LoadSettings(dir / "missing.ini"), defaults);
}

TEST(StandInSettings, EverySettingSurvivesTheFile) {
    TStandInSettings s;
    s.serviceKey = "ABCD-EFGH-IJKL-MNOP-Q";
    s.source = standin::TDataSource::Folder;
    s.dataFolder = "/data/季節 2026";
    s.seed = 4294967295u;
    s.seasonWeeks = 104;
    s.setupYears = 7;
    s.cacheFolder = "cache";
    s.downloadMsPerFile = 60000;
    s.version = "0501";
    s.faults = {-211, -504, true, standin::TTimestampForm::Zeros, 0, -999,
                7,    -403, 9,    standin::TCorruption::Path,     -1};
    TempDir dir;
    const fs::path file = dir / "sub" / "jvlink-standin.ini";
    ASSERT_TRUE(standin::SaveSettings(file, s));
    EXPECT_EQ(standin::LoadSettings(file), s);
    for (const auto corruption : {standin::TCorruption::Short, standin::TCorruption::Bytes}) {
        s.faults.corruption = corruption;
        s.faults.lastFileTimestamp = standin::TTimestampForm::Blank;
        EXPECT_EQ(standin::ParseSettings(standin::SettingsText(s)), s);
    }
}

TEST(StandInSettings, SetupYearsAreKeptWithinTheirRange) {
    EXPECT_EQ(TStandInSettings{}.setupYears, 0) << "the season of the past weeks alone";
    const std::pair<const char*, int> cases[] = {
        {"SetupYears=10", 10},
        {"setupyears = 3", 3},
        {"SetupYears=11", standin::kMaxSetupYears},
        {"SetupYears=99999", standin::kMaxSetupYears},
        {"SetupYears=-2", 0},
        {"SetupYears=two", 0},
        {"SetupYears=", 0},
    };
    for (const auto& [line, years] : cases) {
        EXPECT_EQ(standin::ParseSettings(line).setupYears, years) << line;
    }
    TStandInSettings s;
    s.setupYears = 4;
    EXPECT_NE(standin::SettingsText(s).find("SetupYears=4\n"), std::string::npos);
}

TEST(StandInSettings, FileIsReadLeniently) {
    const std::string text = "\xEF\xBB\xBF# comment\r\n"
                             "; another comment\r\n"
                             "  servicekey =  KEY 1  \r\n"
                             "NoEquals\r\n"
                             "Unknown=whatever\r\n"
                             "DATASOURCE=Folder\r\n"
                             "Seed=abc\r\n"
                             "SeasonWeeks=0\r\n"
                             "DownloadMsPerFile=-5\r\n"
                             "FaultOpen=5\r\n"
                             "FaultRead=-403\r\n"
                             "FaultStatusAfter=-2\r\n"
                             "FaultCorruption=sideways\r\n"
                             "FaultOpenEmpty=yes\r\n"
                             "Version=0491";
    const TStandInSettings s = standin::ParseSettings(text);
    const TStandInSettings defaults;
    EXPECT_EQ(s.serviceKey, "KEY 1");
    EXPECT_EQ(s.source, standin::TDataSource::Folder);
    EXPECT_EQ(s.seed, defaults.seed);
    EXPECT_EQ(s.seasonWeeks, defaults.seasonWeeks);
    EXPECT_EQ(s.downloadMsPerFile, defaults.downloadMsPerFile);
    EXPECT_EQ(s.faults.openError, 0) << "a fault code is never positive";
    EXPECT_EQ(s.faults.readError, -403);
    EXPECT_EQ(s.faults.statusFailAfter, -1);
    EXPECT_EQ(s.faults.corruption, defaults.faults.corruption);
    EXPECT_FALSE(s.faults.openEmpty);
    EXPECT_EQ(s.version, "0491") << "the last line needs no line end";
}

TEST(StandInSettings, ALineBreakInAValueCannotAddASetting) {
    TStandInSettings s;
    s.serviceKey = "KEY\nFaultOpen=-504";
    const TStandInSettings back = standin::ParseSettings(standin::SettingsText(s));
    EXPECT_EQ(back.faults.openError, 0);
    EXPECT_EQ(back.serviceKey, "KEY FaultOpen=-504");
}

TEST(StandInSettings, SaveReplacesTheFileOrFailsCleanly) {
    TempDir dir;
    const fs::path file = dir / "jvlink-standin.ini";
    TStandInSettings s;
    s.serviceKey = "FIRST";
    ASSERT_TRUE(standin::SaveSettings(file, s));
    s.serviceKey = "SECOND";
    ASSERT_TRUE(standin::SaveSettings(file, s));
    EXPECT_EQ(standin::LoadSettings(file).serviceKey, "SECOND");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u) << "no temporary file is left behind";

    fs::create_directories(dir / "taken.ini");
    EXPECT_FALSE(standin::SaveSettings(dir / "taken.ini", s));
    WriteFileBytes(dir / "plain", "x");
    EXPECT_FALSE(standin::SaveSettings(dir / "plain" / "under.ini", s));
}

TEST(StandInSettings, CacheFolderLiesBesideTheSettingsUnlessNamed) {
    const fs::path file = fs::path("base") / "tomberly" / "jvlink-standin.ini";
    TStandInSettings s;
    EXPECT_EQ(standin::CacheFolderOf(s, file),
              fs::path("base") / "tomberly" / "jvlink-standin-data");
    s.cacheFolder = "mine";
    EXPECT_EQ(standin::CacheFolderOf(s, file), fs::path("base") / "tomberly" / "mine");
    const fs::path absolute = fs::temp_directory_path() / "absolute-cache";
    s.cacheFolder = standin::PathToUtf8(absolute);
    EXPECT_EQ(standin::CacheFolderOf(s, file), absolute);
}

#if !defined(_WIN32)
// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(StandInSettings, SettingsFileFollowsTheConfigurationFolder) {
    ScopedEnv home("HOME", "/home/racing");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/config-test");
        EXPECT_EQ(standin::DefaultSettingsFile(),
                  fs::path("/tmp/config-test/tomberly/jvlink-standin.ini"));
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/ignored");
        EXPECT_EQ(standin::DefaultSettingsFile(),
                  fs::path("/home/racing/.config/tomberly/jvlink-standin.ini"));
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(standin::DefaultSettingsFile(),
                  fs::path("/home/racing/.config/tomberly/jvlink-standin.ini"));
    }
}
#endif

} // namespace
