// tomberly-cli print: the newspaper of a stored race day as drawing operations, and the
// arguments it takes.
#include "files/ProgramFolder.h"
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

struct TPrintRun {
    int status = -1;
    std::string out;
    std::string err;
};

class TomberlyCliPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        cli = files::ProgramFolder() / "tomberly-cli";
        if (!fs::exists(cli)) {
            GTEST_SKIP() << "tomberly-cli is not built beside the tests";
        }
        // A one-race day at 東京 with two runners.
        const keiba::test::RaceDayStore store(root.path());
        keiba::test::RacePlan plan;
        plan.runners = 2;
        const jvdata::TRecordRA race = keiba::test::MakeRace(plan);
        const std::string entry = S("2004年05月01日東京");
        store.WriteRaces(entry, {race});
        store.WriteRunnerSlots(entry,
                               {keiba::test::MakeRunner(race, 1, "2001100001", S("コスモバルク")),
                                keiba::test::MakeRunner(race, 2, "2001100002", S("ダンツ"))});
    }

    TPrintRun Run(const std::string& args) {
        const std::string command = "'" + cli.string() + "' " + args + " >'" +
                                    (output / "out").string() + "' 2>'" +
                                    (output / "err").string() + "' </dev/null";
        const int raw = std::system(command.c_str());
        TPrintRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadFileBytes(output / "out");
        run.err = ReadFileBytes(output / "err");
        return run;
    }

    std::string Day() const { return "--root '" + root.path().string() + "' --day "; }

    fs::path cli;
    TempDir output;
    TempDir root;
};

TEST_F(TomberlyCliPrintTest, OpsListsTheDrawingOfEveryPageInUtf8OrShiftJis) {
    const TPrintRun ops = Run("print " + Day() + "'2004年05月01日東京' --ops");
    ASSERT_EQ(ops.status, 0) << ops.err;
    EXPECT_TRUE(ops.out.starts_with("page\t1\ntext\t100\t30\tＭＳ ゴシック\t14\tbu\t#000000\t"
                                    "Tomberly＆競馬新聞 for JRA-VAN Data Lab.　出馬表\n"))
        << ops.out;
    EXPECT_NE(ops.out.find("\nrect\t100\t170\t180\t250\t10\t#000000\n"), std::string::npos);
    EXPECT_NE(ops.out.find("\ntext\t120\t175\tＭＳ ゴシック\t20\tb\t#FFFFFF\t1\n"),
              std::string::npos);
    EXPECT_NE(ops.out.find("\nrect\t100\t310\t1990\t436\t20\t#C0C0C0\n"), std::string::npos);
    EXPECT_NE(ops.out.find("\nrect\t100\t310\t1990\t688\t20\tclear\n"), std::string::npos);
    EXPECT_NE(ops.out.find("\nline\t150\t562\t1990\t562\t1\n"), std::string::npos)
        << "runners 1 and 2 share frame 1";
    EXPECT_EQ(ops.out.find("page\t2"), std::string::npos);

    const TPrintRun sjis = Run("print --sjis " + Day() + "'" + S("2004年05月01日東京") + "' --ops");
    ASSERT_EQ(sjis.status, 0) << sjis.err;
    EXPECT_EQ(sjis.out, S(ops.out));
}

TEST_F(TomberlyCliPrintTest, PdfNeedsTheQtBuildAndArgumentsAreChecked) {
    const fs::path pdf = output / "day.pdf";
    const TPrintRun run =
        Run("print " + Day() + "'2004年05月01日東京' --pdf '" + pdf.string() + "'");
    if (run.status == 0) {
        EXPECT_TRUE(ReadFileBytes(pdf).starts_with("%PDF"));
    } else {
        EXPECT_EQ(run.status, 9);
        EXPECT_NE(run.err.find("PDF output needs the program's Qt build"), std::string::npos)
            << run.err;
    }

    EXPECT_EQ(Run("print " + Day() + "'2004年05月02日東京' --ops").status, 8);
    for (const std::string args :
         {"print --root /tmp --ops", "print --root /tmp --day x",
          "print --root /tmp --day x --ops --pdf f.pdf", "print --root /tmp --day x --pdf",
          "print --root /tmp --day x --ops --page card", "show --root /tmp --day x --ops",
          "dates --root /tmp --pdf f.pdf"}) {
        EXPECT_EQ(Run(args).status, 1) << args;
    }
}

#endif

} // namespace
