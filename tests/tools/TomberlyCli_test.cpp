// tomberly-cli as a user runs it: the built program beside this test, its exit status and
// what it prints.
#include "files/ProgramFolder.h"
#include "jvlink/standin/StandInSettings.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace {

namespace fs = std::filesystem;
using keiba::test::ReadFileBytes;
using keiba::test::S;
using keiba::test::TempDir;

#if !defined(_WIN32)

struct TRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

class TomberlyCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        cli = files::ProgramFolder() / "tomberly-cli";
        if (!fs::exists(cli)) {
            GTEST_SKIP() << "tomberly-cli is not built beside the tests";
        }
    }

    // Runs the tool with the stand-in's settings in the test's own configuration folder.
    TRun Run(const std::string& args) {
        const std::string command = "XDG_CONFIG_HOME=" + Quoted(config.path().string()) + " " +
                                    Quoted(cli.string()) + " " + args + " >" +
                                    Quoted((output / "out").string()) + " 2>" +
                                    Quoted((output / "err").string()) + " </dev/null";
        const int raw = std::system(command.c_str());
        TRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadFileBytes(output / "out");
        run.err = ReadFileBytes(output / "err");
        return run;
    }

    fs::path cli;
    TempDir config;
    TempDir output;
    TempDir root;
};

TEST_F(TomberlyCliTest, WrongArgumentsAreAUsageError) {
    const char* const cases[] = {
        "",
        "fetch --root /tmp",
        "acquire",
        "dates --root",
        "acquire --root /tmp --from 2004",
        "acquire --root /tmp --from 20040230000000",
        "dates --root /tmp --from 20040101000000",
        "acquire --root /tmp -x",
    };
    for (const char* args : cases) {
        const TRun run = Run(args);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_NE(run.err.find("usage: tomberly-cli"), std::string::npos) << args;
    }
    const TRun help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("exit status"), std::string::npos);
}

TEST_F(TomberlyCliTest, TheDataRootMustBeAFolder) {
    const TRun run = Run("dates --root " + Quoted((root / "missing").string()));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("not a folder"), std::string::npos);
}

TEST_F(TomberlyCliTest, DatesPrintsTheDateListInUtf8OrShiftJis) {
    fs::create_directories(root / "DATA");
    for (const char* name :
         {"2004年05月01日東京.jvRA", "2004年05月02日京都.jvRA", "2004年05月02日京都.jvSEr"}) {
        keiba::test::WriteFileBytes(root.path() / "DATA" / files::PathFromText(S(name)), "x");
    }
    const TRun utf8 = Run("dates --root " + Quoted(root.path().string()));
    EXPECT_EQ(utf8.status, 0);
    EXPECT_EQ(utf8.out, "2004年05月02日京都\n2004年05月01日東京\n");
    const TRun sjis = Run("dates --sjis --root " + Quoted(root.path().string()));
    EXPECT_EQ(sjis.out, S("2004年05月02日京都\n2004年05月01日東京\n"));

    TempDir empty;
    EXPECT_EQ(Run("dates --root " + Quoted(empty.path().string())).out, "");
}

TEST_F(TomberlyCliTest, AcquireStoresTheStandInSeasonAndMovesLastTime) {
    standin::TStandInSettings settings;
    settings.downloadMsPerFile = 0;
    settings.seasonWeeks = 1;
    ASSERT_TRUE(standin::SaveSettings(config / "tomberly" / "jvlink-standin.ini", settings));

    const std::string rootArg = Quoted(root.path().string());
    const TRun first = Run("acquire --root " + rootArg + " --from 20000101000000");
    if (first.status == 3) {
        GTEST_SKIP() << "no stand-in JV-Link beside the program: " << first.err;
    }
    ASSERT_EQ(first.status, 0) << first.err << first.out;
    EXPECT_NE(first.out.find("データ作成が完了しました。"), std::string::npos) << first.out;
    for (const char* folder : {"DATA", "SEI", "SEIR", "UM2", "REC"}) {
        EXPECT_TRUE(fs::is_directory(root / folder)) << folder;
    }
    const std::string ini = ReadFileBytes(root / "tomberly.ini");
    EXPECT_NE(ini.find("[JvDataGet]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("LastTime="), std::string::npos) << ini;

    const TRun dates = Run("dates --root " + rootArg);
    EXPECT_EQ(dates.status, 0);
    EXPECT_FALSE(dates.out.empty()) << "the acquired race days are listed";

    // The next run starts at LastTime: nothing newer is published.
    const TRun second = Run("acquire --verbose --root " + rootArg);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("最新のデータがありません。"), std::string::npos) << second.out;
    EXPECT_EQ(ReadFileBytes(root / "tomberly.ini"), ini);

    // A LastTime that is no date and time stops the run rather than guessing.
    keiba::test::WriteFileBytes(root / "tomberly.ini", "[JvDataGet]\r\nLastTime=yesterday\r\n");
    const TRun broken = Run("acquire --root " + rootArg);
    EXPECT_EQ(broken.status, 2);
    EXPECT_NE(broken.err.find("LastTime"), std::string::npos) << broken.err;
}

// A one-race day at 東京 with two runners and the winner's payoff.
void WriteShowDay(const fs::path& root) {
    const keiba::test::RaceDayStore store(root);
    keiba::test::RacePlan plan;
    plan.runners = 2;
    plan.name = S("ＮＨＫマイルカップ");
    const jvdata::TRecordRA race = keiba::test::MakeRace(plan);
    const std::string entry = S("2004年05月01日東京");
    store.WriteRaces(entry, {race});
    store.WriteRunnerSlots(
        entry, {keiba::test::MakeRunner(race, 1, "2001100001", S("コスモバルク")),
                keiba::test::MakeRunner(race, 2, "2001100002", S("キング　カメハメハ"))});
    store.WritePayoffs(entry, {keiba::test::MakePayoff(race, 2, 1230, 3)});
}

TEST_F(TomberlyCliTest, ShowPrintsTheCardOrTheResultsOfARace) {
    WriteShowDay(root.path());
    const std::string rootArg = Quoted(root.path().string());

    const TRun card = Run("show --root " + rootArg + " --day '2004年05月01日東京' --page card");
    ASSERT_EQ(card.status, 0) << card.err;
    EXPECT_TRUE(card.out.starts_with("2004年05月01日(")) << card.out;
    EXPECT_NE(card.out.find("\nＮＨＫマイルカップ"), std::string::npos) << card.out;
    EXPECT_NE(
        card.out.find("枠\t馬\t連闘\t馬名\t騎手\t性齢\t斤量\tﾌﾞﾘﾝｶ\t見習区分\t調教師\t画数\n"),
        std::string::npos)
        << card.out;
    EXPECT_NE(card.out.find("1\t 2\t\tキングカメハメハ\t"), std::string::npos) << card.out;

    const TRun results =
        Run("show --root " + rootArg + " --day '2004年05月01日東京' --race 1 --page results");
    ASSERT_EQ(results.status, 0) << results.err;
    EXPECT_TRUE(
        results.out.starts_with("単勝\n結果：\t 2\t\t\n人気：\t 3\t\t\n配当：\t    1230\t\t\n"
                                "複勝\n"))
        << results.out;

    // The entry and the output in Shift-JIS, as dates --sjis prints them.
    const TRun sjis = Run("show --sjis --root " + rootArg + " --day " +
                          Quoted(S("2004年05月01日東京")) + " --page results");
    ASSERT_EQ(sjis.status, 0) << sjis.err;
    EXPECT_TRUE(sjis.out.starts_with(S("単勝\n結果：\t 2"))) << sjis.out;
}

TEST_F(TomberlyCliTest, ShowRefusesUnknownDaysRacesAndPages) {
    WriteShowDay(root.path());
    const std::string rootArg = Quoted(root.path().string());

    const TRun day = Run("show --root " + rootArg + " --day '2004年05月02日東京' --page card");
    EXPECT_EQ(day.status, 8);
    EXPECT_NE(day.err.find("2004年05月02日東京"), std::string::npos) << day.err;
    EXPECT_EQ(day.out, "");

    const TRun race =
        Run("show --root " + rootArg + " --day '2004年05月01日東京' --race 2 --page card");
    EXPECT_EQ(race.status, 8);
    EXPECT_NE(race.err.find("no race 2"), std::string::npos) << race.err;

    for (const char* args :
         {"show --root /tmp --page card", "show --root /tmp --day x",
          "show --root /tmp --day x --page odds", "show --root /tmp --day x --page card --race 13",
          "show --root /tmp --day x --page card --race 1R", "dates --root /tmp --day x"}) {
        EXPECT_EQ(Run(args).status, 1) << args;
    }
}

TEST_F(TomberlyCliTest, PrintWritesTheNewspaperToPdf) {
    WriteShowDay(root.path());
    const std::string rootArg = Quoted(root.path().string());
    const fs::path pdf = output.path() / "day.pdf";
    const std::string day = " --day '2004年05月01日東京' --pdf ";
    const TRun run = Run("print --root " + rootArg + day + Quoted(pdf.string()));
    if (run.status == 1 && run.err.find("lacks") != std::string::npos) {
        GTEST_SKIP() << "built without the windows";
    }
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("1 page written"), std::string::npos) << run.err;
    EXPECT_TRUE(ReadFileBytes(pdf).starts_with("%PDF-"));

    // A folder that is not there: the file cannot be written.
    EXPECT_EQ(Run("print --root " + rootArg + day + Quoted((root / "no/x.pdf").string())).status,
              6);
    EXPECT_EQ(Run("print --root " + rootArg + " --day '2004年05月02日東京' --pdf x.pdf").status, 8);
    for (const char* args : {"print --root /tmp --day x", "print --root /tmp --pdf x.pdf",
                             "show --root /tmp --day x --page card --pdf x.pdf",
                             "print --root /tmp --day x --pdf x.pdf --page card"}) {
        EXPECT_EQ(Run(args).status, 1) << args;
    }
}

#endif

} // namespace
