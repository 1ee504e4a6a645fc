// tomberly-cli as a user runs it: the built program beside this test, its exit status and
// what it prints.
#include "files/CsvText.h"
#include "files/ProgramFolder.h"
#include "jvlink/standin/StandInSettings.h"
#include "store/StoreLock.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <algorithm>
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

TEST_F(TomberlyCliTest, SearchAndStatsAnswerFromTheStoresIndex) {
    keiba::test::RaceDayStore store(root.path());
    const jvdata::TRecordRA race = keiba::test::MakeRace({});
    jvdata::TRecordSE run = keiba::test::MakeRunner(race, 1, "2001100001", S("ハヤテ"));
    run.SetField(jvdata::SE::kJockeyCode, "01234");
    run.SetField(jvdata::SE::kJockeyShortName, S("風間"));
    run.SetField(jvdata::SE::kFinishPosition, "01");
    store.WriteResults({race});
    store.WriteHistory("2001100001", {run});
    store.WritePayoffs(S("2004年05月01日東京"), {keiba::test::MakePayoff(race, 1, 480)});
    const std::string at = "--root " + Quoted(root.path().string());

    const TRun index = Run("index " + at);
    EXPECT_EQ(index.status, 0) << index.err;
    EXPECT_NE(index.out.find("runs\t1\n"), std::string::npos) << index.out;
    const TRun search = Run("search " + at + " --kind horse はやて");
    EXPECT_EQ(search.status, 0) << search.err;
    EXPECT_NE(search.out.find("2004/05/01\t東京\t1\t"), std::string::npos) << search.out;
    const TRun stats = Run("stats " + at + " --kind jockey 風");
    EXPECT_EQ(stats.status, 0) << stats.err;
    EXPECT_NE(stats.out.find("全体\t1\t1\t0\t0\t0\t100.0%\t100.0%\t100.0%\t480.0\t0.0"),
              std::string::npos)
        << stats.out;
    const fs::path csv = output / "stats.csv";
    EXPECT_EQ(
        Run("stats " + at + " --kind jockey --code 01234 --csv sjis --out " + Quoted(csv.string()))
            .status,
        0);
    const files::TTextTable table =
        files::TableFromCsv(ReadFileBytes(csv), files::TCsvEncoding::ShiftJis);
    ASSERT_FALSE(table.rows.empty());
    EXPECT_EQ(table.rows[0].at(0), S("全体"));

    EXPECT_EQ(Run("stats " + at + " --kind jockey 無名").status, 8);
    EXPECT_EQ(Run("search " + at + " はやて").status, 1);
    EXPECT_EQ(Run("stats " + at + " --kind jockey 風 --csv utf8").status, 1);
    EXPECT_EQ(Run("dates " + at + " --kind horse").status, 1);
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

TEST_F(TomberlyCliTest, AcquireEndsHonestlyWhenItCannotStoreEverything) {
    const std::string rootArg = Quoted(root.path().string());
    fs::create_directory(root / "tomberly.ini");
    const TRun unreadable = Run("acquire --root " + rootArg);
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_NE(unreadable.err.find("設定ファイルを読み込めません:"), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "DATA")) << "stopped before anything was made";
    fs::remove(root / "tomberly.ini");

    standin::TStandInSettings settings;
    settings.downloadMsPerFile = 0;
    settings.seasonWeeks = 1;
    settings.faults.corruptAt = 7;
    settings.faults.corruption = standin::TCorruption::Short;
    ASSERT_TRUE(standin::SaveSettings(config / "tomberly" / "jvlink-standin.ini", settings));
    {
        const store::TStoreLock window = store::TStoreLock::Take(root.path());
        ASSERT_TRUE(window.Held());
        const TRun busy = Run("acquire --root " + rootArg);
        if (busy.status == 3) {
            GTEST_SKIP() << "no stand-in JV-Link beside the program: " << busy.err;
        }
        EXPECT_EQ(busy.status, 9) << busy.err;
        EXPECT_TRUE(fs::is_empty(root / "DATA"));
    }
    const TRun refused = Run("acquire --root " + rootArg + " --from 20000101000000");
    EXPECT_EQ(refused.status, 10) << refused.err;
    EXPECT_NE(refused.err.find("1 refused"), std::string::npos) << refused.err;
    EXPECT_NE(refused.out.find("保存しなかったレコード:1件"), std::string::npos) << refused.out;
    EXPECT_FALSE(fs::exists(root / "tomberly.ini")) << "LastTime stays where it was";
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

TEST_F(TomberlyCliTest, ShowKeepsARaceWhoseNameHoldsBytesOutsideShiftJis) {
    const keiba::test::RaceDayStore store(root.path());
    keiba::test::RacePlan plan;
    plan.runners = 1;
    plan.name = S("ＮＨＫ") + std::string("\x81\x00", 2) + S("マイル") + "\r" + S("カップ");
    const jvdata::TRecordRA race = keiba::test::MakeRace(plan);
    const std::string entry = S("2004年05月01日東京");
    store.WriteRaces(entry, {race});
    store.WriteRunnerSlots(entry, {keiba::test::MakeRunner(race, 1, "2001100001", S("コスモ"))});

    const TRun card = Run("show --root " + Quoted(root.path().string()) +
                          " --day '2004年05月01日東京' --race 1 --page card");
    ASSERT_EQ(card.status, 0) << card.err;
    EXPECT_NE(card.out.find("\nＮＨＫ\uFFFD\uFFFDマイル\uFFFDカップ"), std::string::npos)
        << card.out;
    EXPECT_NE(card.out.find("\tコスモ\t"), std::string::npos) << card.out;
}

TEST_F(TomberlyCliTest, PrintListsTheNewspapersDrawingInUtf8OrShiftJisAndPdfNeedsTheQtBuild) {
    WriteShowDay(root.path());
    const std::string day = "--root " + Quoted(root.path().string()) + " --day ";
    const TRun ops = Run("print " + day + "'2004年05月01日東京' --ops");
    ASSERT_EQ(ops.status, 0) << ops.err;
    EXPECT_TRUE(ops.out.starts_with("page\t1\ntext\t100\t30\tＭＳ ゴシック\t14\tbu\t#000000\t"
                                    "Tomberly＆競馬新聞 for JRA-VAN Data Lab.　出馬表\n"))
        << ops.out;
    for (const char* op :
         {"\nrect\t100\t170\t180\t250\t10\t#000000\n",
          "\ntext\t120\t175\tＭＳ ゴシック\t20\tb\t#FFFFFF\t1\n",
          "\nrect\t100\t310\t1990\t688\t20\tclear\n", "\nline\t150\t562\t1990\t562\t1\n"}) {
        EXPECT_NE(ops.out.find(op), std::string::npos) << op;
    }
    const TRun sjis = Run("print --sjis " + day + "'" + S("2004年05月01日東京") + "' --ops");
    EXPECT_EQ(sjis.out, S(ops.out));

    // A text that may pass its column carries the column's width last: the date line's runs
    // from 300 to the grid's right edge at 1990, less 4.
    const std::size_t date = ops.out.find("\ntext\t300\t90\t");
    ASSERT_NE(date, std::string::npos);
    EXPECT_EQ(ops.out.substr(ops.out.find('\n', date + 1) - 5, 6), "\t1686\n");

    const fs::path pdf = output / "day.pdf";
    const TRun run = Run("print " + day + "'2004年05月01日東京' --pdf '" + pdf.string() + "'");
    if (run.status == 0) {
        EXPECT_TRUE(ReadFileBytes(pdf).starts_with("%PDF"));
        // A file that cannot be made: the tool's own message only, none of Qt's.
        const TRun failed = Run("print " + day + "'2004年05月01日東京' --pdf '" +
                                (output / "no-such-folder" / "x.pdf").string() + "'");
        EXPECT_EQ(failed.status, 11);
        EXPECT_TRUE(failed.err.find("QPainter") == std::string::npos &&
                    failed.err.find("QStandardPaths") == std::string::npos)
            << failed.err;
    } else {
        EXPECT_EQ(run.status, 11);
        EXPECT_NE(run.err.find("PDF output needs the program's Qt build"), std::string::npos);
    }
    EXPECT_EQ(Run("print " + day + "'2004年05月02日東京' --ops").status, 8);
    for (const char* args :
         {"print --root /tmp --ops", "print --root /tmp --day x",
          "print --root /tmp --day x --ops --pdf f.pdf", "print --root /tmp --day x --pdf",
          "print --root /tmp --day x --ops --page card", "show --root /tmp --day x --ops"}) {
        EXPECT_EQ(Run(args).status, 1) << args;
    }
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

// The day of WriteShowDay, and horse 1's one earlier run: 1:34.6 over 1600 m (5.91 s per
// 100 m), last three furlongs 34.5 (5.75), 2nd at 3rd favourite of 16.
void WriteShowDayWithRun(const fs::path& root) {
    WriteShowDay(root);
    const keiba::test::RaceDayStore store(root);
    keiba::test::RacePlan past;
    past.date = "20040418";
    past.number = 11;
    past.runners = 16;
    const jvdata::TRecordRA pastRace = keiba::test::MakeRace(past);
    jvdata::TRecordSE run = keiba::test::MakeRunner(pastRace, 5, "2001100001");
    run.SetField(335, 336, "02");
    run.SetField(339, 342, "1346");
    run.SetField(364, 365, "03");
    run.SetField(391, 393, "345");
    store.WriteHistory("2001100001", {run});
    store.WriteResults({pastRace});
}

TEST_F(TomberlyCliTest, ShowPrintsTheTimeTablesAndTheChartPoints) {
    WriteShowDayWithRun(root.path());
    const std::string show =
        "show --root " + Quoted(root.path().string()) + " --day '2004年05月01日東京' --page ";

    const TRun times = Run(show + "times");
    ASSERT_EQ(times.status, 0) << times.err;
    EXPECT_EQ(times.out, "◎\t1\t1\t5.91\t\t\t\t\t5.91\n\t1\t2\t\t\t\t\t\t\n");
    const TRun last3f = Run(show + "last3f");
    EXPECT_EQ(last3f.out, "◎\t1\t1\t5.75\t\t\t\t\t5.75\n\t1\t2\t\t\t\t\t\t\n");

    // One run only: the trend walk stops at once.
    EXPECT_EQ(Run(show + "chart1").out, "StaticText2\tコスモバルク\n");
    const TRun chart3 = Run(show + "chart3 --select 1");
    EXPECT_TRUE(chart3.out.starts_with("StaticText5\tコスモバルク\n"
                                       "Series7\t0\t20.0000\t前5走\t#008000\n"
                                       "Series6\t0\t20.0000\t前5走\t#FF0000\n"))
        << chart3.out;
    EXPECT_NE(chart3.out.find("Series7\t4\t2.0000\t前1走\t#008000\n"
                              "Series6\t4\t3.0000\t前1走\t#FF0000\n"),
              std::string::npos)
        << chart3.out;
    EXPECT_EQ(Run(show + "chart2").out, "Series4\t0\t5.9125\t1\t#FF0000\n"
                                        "Series5\t0\t5.7500\t1\t#008000\n"
                                        "Series4\t1\t1.0000\t2\t#808080\n"
                                        "Series5\t1\t1.0000\t2\t#808080\n");
    // (16 - 2) + (16 - 3) = 27.
    EXPECT_NE(Run(show + "chart4").out.find("BarSeries1\t0\t27.0000\t1\t#FFFF00\n"),
              std::string::npos);

    // No third runner, no sixth run back; --select only for the charts.
    EXPECT_EQ(Run(show + "chart1 --select 3").status, 8);
    EXPECT_EQ(Run(show + "chart4 --select 6").status, 8);
    EXPECT_EQ(Run(show + "times --select 1").status, 1);
    EXPECT_EQ(Run(show + "chart2 --select 19").status, 1);
}

TEST_F(TomberlyCliTest, ExportWritesARaceTableAsCsvInEitherEncoding) {
    WriteShowDayWithRun(root.path());
    const std::string day =
        "export --root " + Quoted(root.path().string()) + " --day '2004年05月01日東京' ";
    const TRun card = Run(day + "--table card");
    ASSERT_EQ(card.status, 0) << card.err;
    EXPECT_TRUE(card.out.starts_with("\xEF\xBB\xBF枠,馬,連闘,馬名,騎手,")) << card.out;
    EXPECT_NE(card.out.find("\r\n1,2,,キングカメハメハ,"), std::string::npos) << card.out;

    const TRun times = Run(day + "--race 1 --table timetable --csv sjis --out " +
                           Quoted((output / "t.csv").string()));
    ASSERT_EQ(times.status, 0) << times.err;
    EXPECT_NE(times.err.find("4 rows written to"), std::string::npos) << times.err;
    EXPECT_EQ(ReadFileBytes(output / "t.csv"),
              S("表,印,枠番,馬番,前１走,前２走,前３走,前４走,前５走,平均値\r\n"
                "走破ﾀｲﾑ計算表,◎,1,1,5.91,,,,,5.91\r\n走破ﾀｲﾑ計算表,,1,2,,,,,,\r\n"
                "上3ﾊﾛﾝﾀｲﾑ計算表,◎,1,1,5.75,,,,,5.75\r\n上3ﾊﾛﾝﾀｲﾑ計算表,,1,2,,,,,,\r\n"));

    EXPECT_EQ(Run(day + "--table card --out " + Quoted((output / "no" / "c.csv").string())).status,
              11);
    EXPECT_EQ(Run(day + "--race 2 --table card").status, 8);
    for (const std::string& args : {day, day + "--table odds", day + "--table card --csv latin1",
                                    day + "--table card --page card"}) {
        EXPECT_EQ(Run(args).status, 1) << args;
    }
}

TEST_F(TomberlyCliTest, ShowPrintsTheHorsePagesOneControlALine) {
    WriteShowDay(root.path());
    const std::string rootArg = Quoted(root.path().string());
    const std::string day = " --day '2004年05月01日東京'";

    const TRun first = Run("show --root " + rootArg + day + " --page horse");
    ASSERT_EQ(first.status, 0) << first.err;
    // The name bar, 10 + 26 profile lines, five past-run pages of 11 lines.
    EXPECT_EQ(std::count(first.out.begin(), first.out.end(), '\n'), 92) << first.out;
    EXPECT_TRUE(first.out.starts_with("StaticText1\tコスモバルク\nLabel6\t")) << first.out;
    // No horse master: an empty deregistration line, the pedigree captions over blank names.
    EXPECT_NE(first.out.find("\nLabel8\t\nLabel54\t【父】" + std::string(36, ' ') + " 【母父】"),
              std::string::npos)
        << first.out;
    EXPECT_NE(first.out.find("\nLabel77\t【ダ2201～    】 1着:  0回  "), std::string::npos);
    EXPECT_TRUE(first.out.ends_with("\nLabel98\t\nLabel99\t\n")) << first.out;

    const TRun second = Run("show --sjis --root " + rootArg + " --day " +
                            Quoted(S("2004年05月01日東京")) + " --race 1 --page horse --horse 2");
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(second.out.starts_with(S("StaticText1\tキングカメハメハ\n"))) << second.out;

    const TRun none = Run("show --root " + rootArg + day + " --page horse --horse 3");
    EXPECT_EQ(none.status, 8);
    EXPECT_NE(none.err.find("no horse tab 3"), std::string::npos) << none.err;
    EXPECT_EQ(none.out, "");
    for (const char* args : {" --page card --horse 1", " --page horse --horse 19",
                             " --page horse --horse 0", " --page horse --horse x"}) {
        EXPECT_EQ(Run("show --root " + rootArg + day + args).status, 1) << args;
    }
}

TEST_F(TomberlyCliTest, PrintWritesTheNewspaperToPdf) {
    WriteShowDay(root.path());
    const std::string rootArg = Quoted(root.path().string());
    const fs::path pdf = output.path() / "day.pdf";
    const std::string day = " --day '2004年05月01日東京' --pdf ";
    const TRun run = Run("print --root " + rootArg + day + Quoted(pdf.string()));
    if (run.status == 11 && run.err.find("Qt build") != std::string::npos) {
        GTEST_SKIP() << "built without the windows";
    }
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("1 page written"), std::string::npos) << run.err;
    EXPECT_TRUE(ReadFileBytes(pdf).starts_with("%PDF-"));

    // A folder that is not there: the file cannot be written.
    EXPECT_EQ(Run("print --root " + rootArg + day + Quoted((root / "no/x.pdf").string())).status,
              11);
    EXPECT_EQ(Run("print --root " + rootArg + " --day '2004年05月02日東京' --pdf x.pdf").status, 8);
    for (const char* args : {"print --root /tmp --day x", "print --root /tmp --pdf x.pdf",
                             "show --root /tmp --day x --page card --pdf x.pdf",
                             "print --root /tmp --day x --pdf x.pdf --page card"}) {
        EXPECT_EQ(Run(args).status, 1) << args;
    }
}

#endif

} // namespace
