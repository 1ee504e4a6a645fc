// The acquisition window driven end to end with the stand-in JV-Link over a small catalogue:
// the texts and boxes in order, the made-files list, the bars, the start time in the settings
// file, every fault the stand-in can inject, cancel and close during a run.
#include "acquisition/GetDataTestSupport.h"
#include "acquisition/ui/TGetDataForm.h"
#include "files/ProgramFolder.h"
#include "jvlink/standin/StandInJVLink.h"
#include "store/StoreTestSeason.h"
#include "widgets/ui/TLabel3Dj.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QToolButton>

namespace {

namespace fs = std::filesystem;
using namespace keiba::acqtest;
using acquisition::TAcquisitionEnd;
using acquisition::TGetDataForm;
using keiba::storetest::MakeRA;
using keiba::storetest::MakeRC;
using keiba::storetest::MakeSE;
using keiba::storetest::TRaceId;
using keiba::test::TempDir;

const std::string kNotice = "データ取込を開始します。データ作成が終了するまで本ソフトを操作したり"
                            "他のアプリケーションを操作することは極力避けてください。";
const std::string kQuestion = "データ取込を中止します。実行しますか？";
const std::string kCancelled = "JVCancel:キャンセルされました";
const std::string kDone = "データ作成が完了しました。";

// The made-files lines of the whole catalogue, in no particular order.
const std::vector<std::string> kAllMade = {
    "作成済み:01R/2004年05月01日東京.jvRA",
    "作成済み:01R/01番/2004年05月01日東京.jvSEr",
    "作成済み:10513160011.jvRC",
    "作成済み:02R/2004年05月01日東京.jvRA",
};

std::string Utf8(const QString& text) {
    return text.toStdString();
}

// Processes events until done() holds; false when it did not within the time.
template <class Done>
bool PumpUntil(Done done, int milliseconds = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

class GetDataFormTest : public ::testing::Test {
protected:
    GetDataFormTest() {
        fs::create_directories(root / "DATA");
        catalogue->files = {
            {"RACE0001.jvd",
             "RACE",
             "20040428120000",
             {MakeRA(TRaceId{}, '2'), MakeSE(TRaceId{}, "01", "2001100001", '2')}},
            {"RCVN0001.jvd", "RCVN", "20040430120000", {MakeRC("05", "13", "1600", "11")}},
            {"RACE0002.jvd", "RACE", "20040502183000", {MakeRA(TRaceId{.race = "02"}, '2')}},
        };
        standin::TStandInSettings service;
        service.downloadMsPerFile = 5;
        Service(service);
        link = std::make_unique<standin::TStandInJVLink>(
            ServiceFile(), [this](const standin::TStandInSettings&) {
                return standin::TCatalogueRead{*catalogue, {}};
            });
        EXPECT_EQ(link->JVInit("TOMBERLY130"), 0);
        WriteSettings("2004/04/20 10:00:00");
    }

    fs::path ServiceFile() const { return config / "tomberly" / "jvlink-standin.ini"; }
    fs::path SettingsFile() const { return dir / "Tomberly.ini"; }

    // The stand-in's settings for the next JVOpen.
    void Service(const standin::TStandInSettings& service) {
        ASSERT_TRUE(standin::SaveSettings(ServiceFile(), service));
    }
    void Faults(const standin::TFaults& faults, int msPerFile = 5) {
        standin::TStandInSettings service;
        service.downloadMsPerFile = msPerFile;
        service.faults = faults;
        Service(service);
    }

    void WriteSettings(std::string_view lastTime) {
        settings::TIniGT ini(files::TextFromPath(SettingsFile()));
        ASSERT_TRUE(ini.WriteText("JvDataGet", "LastTime", lastTime).ok());
    }
    std::string StoredLastTime() const {
        return settings::TIniGT(files::TextFromPath(SettingsFile()))
            .ReadText("JvDataGet", "LastTime", "(none)");
    }

    // A new window, shown, its progress texts and list lines going into the time line.
    std::unique_ptr<TGetDataForm> Open(bool declineSetup = true) {
        acquisition::TGetDataFormOptions options;
        options.settingsFile = SettingsFile();
        options.clock = FixedClock(2004, 5, 10, 12, 0, 0);
        options.rebuildDateList = [this] {
            ++rebuilds;
            line.push_back("rebuild");
        };
        auto form = std::make_unique<TGetDataForm>(*link, root, ui, options);
        QObject::connect(form.get(), &TGetDataForm::ProgressTextShown,
                         [this](const QString& text) { line.push_back(Text(Utf8(text))); });
        auto* list = form->findChild<QListWidget*>("ListBox1");
        QObject::connect(list->model(), &QAbstractItemModel::rowsInserted,
                         [this, list](const QModelIndex&, int first, int last) {
                             for (int row = first; row <= last; ++row) {
                                 line.push_back(Made(Utf8(list->item(row)->text())));
                             }
                         });
        if (declineSetup) {
            // The ordinary acquisition: the setup the empty store proposes is declined.
            Child<QCheckBox>(*form, "CheckBoxSetup")->setChecked(false);
        }
        form->show();
        return form;
    }

    // Start pressed and the run followed to its end.
    void Run(TGetDataForm& form) {
        Child<QPushButton>(form, "ButtonStart")->click();
        ASSERT_TRUE(PumpUntil([&] { return !form.Control().Running(); }))
            << "the run did not end:\n"
            << ShowLine(line);
    }

    template <class T>
    static T* Child(const TGetDataForm& form, const char* name) {
        T* child = form.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    static std::vector<std::string> ListLines(const TGetDataForm& form) {
        std::vector<std::string> lines;
        const auto* list = Child<QListWidget>(form, "ListBox1");
        for (int i = 0; i < list->count(); ++i) {
            lines.push_back(Utf8(list->item(i)->text()));
        }
        return lines;
    }

    static std::vector<std::string> Sorted(std::vector<std::string> lines) {
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    bool Stored(std::string_view utf8Name) const {
        return fs::exists(root / "DATA" / files::PathFromText(S(utf8Name)));
    }

    TempDir dir;
    TempDir config;
    fs::path root = dir / "root";
    std::shared_ptr<standin::TCatalogue> catalogue = std::make_shared<standin::TCatalogue>();
    std::unique_ptr<standin::TStandInJVLink> link;
    std::vector<std::string> line;
    TLoggingInteraction ui{line};
    int rebuilds = 0;
};

// The texts of the line, without the download polls (whose number depends on the pace).
std::vector<std::string> WithoutPolls(const std::vector<std::string>& line) {
    std::vector<std::string> kept;
    const std::string poll = Text("ダウンロード中．．．(");
    for (const auto& entry : line) {
        if (!entry.starts_with(poll)) {
            kept.push_back(entry);
        }
    }
    return kept;
}

// The made-files lines between the reading texts "データ読込み中．．．" + from and + to.
std::vector<std::string> MadeBetween(const std::vector<std::string>& line, std::string_view from,
                                     std::string_view to) {
    const std::string prefix = "データ読込み中．．．";
    const auto begin = std::find(line.begin(), line.end(), Text(prefix + std::string(from)));
    const auto end = std::find(begin, line.end(), Text(prefix + std::string(to)));
    EXPECT_NE(end, line.end()) << ShowLine(line);
    return Only(std::vector<std::string>(begin, end), {"made"});
}

// The fetched counts the download polls showed, in order.
std::vector<int> PolledCounts(const std::vector<std::string>& line, int download) {
    std::vector<int> counts;
    const std::string poll = Text("ダウンロード中．．．(");
    for (const auto& entry : line) {
        if (entry.starts_with(poll)) {
            const std::string rest = entry.substr(poll.size());
            counts.push_back(std::stoi(rest));
            EXPECT_EQ(rest.substr(rest.find('/')), "/" + std::to_string(download) + ")");
        }
    }
    return counts;
}

#define EXPECT_LINE(actual, ...)                                                                   \
    do {                                                                                           \
        const std::vector<std::string> expected{__VA_ARGS__};                                      \
        EXPECT_EQ(actual, expected) << "saw:\n"                                                    \
                                    << ShowLine(actual) << "expected:\n"                           \
                                    << ShowLine(expected);                                         \
    } while (false)

// ---- The window ---------------------------------------------------------------------------

TEST_F(GetDataFormTest, ControlsCarryTheirCaptionsAndNames) {
    auto form = Open();
    EXPECT_EQ(Utf8(form->windowTitle()), "ＪＶデータ取込");
    EXPECT_EQ(form->size(), QSize(423, 428));
    EXPECT_EQ(Utf8(form->font().family()), "ＭＳ Ｐゴシック");
    EXPECT_EQ(form->font().pixelSize(), 12);
    EXPECT_EQ(Utf8(Child<QPushButton>(*form, "ButtonStart")->text()), "データ取込み開始");
    EXPECT_EQ(Utf8(Child<QPushButton>(*form, "ButtonCancel")->text()), "データ取込み中止");
    auto* settingsButton = Child<QToolButton>(*form, "SpeedButton1");
    EXPECT_EQ(Utf8(settingsButton->text()), "JVLink設定");
    EXPECT_EQ(Utf8(settingsButton->toolTip()),
              "JRA-VAN\u3000Data Lab.のサービスキーやデータ保存場所の設定をします");
    EXPECT_EQ(Utf8(Child<QLabel>(*form, "Label1")->text()), "ダウンロード");
    EXPECT_EQ(Utf8(Child<QLabel>(*form, "Label2")->text()), "読込み");
    EXPECT_EQ(Utf8(Child<QLabel>(*form, "Label3")->text()), "作成済みデータ");
    EXPECT_EQ(Utf8(Child<QLabel>(*form, "Label4")->text()), "取得開始日付");
    auto* label = Child<widgets::TLabel3Dj>(*form, "ProgressLabel");
    EXPECT_EQ(Utf8(label->font().family()), "ＭＳ ゴシック");
    EXPECT_EQ(label->font().pixelSize(), 13);
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->FontColor(), QColor(0, 0, 255));
    EXPECT_EQ(label->TextStyle(), widgets::TTextStyle::tsRaised);
    EXPECT_EQ(Utf8(Child<QListWidget>(*form, "ListBox1")->font().family()), "ＭＳ ゴシック");
    auto* timer = Child<QTimer>(*form, "TimerJVStatus");
    EXPECT_EQ(timer->interval(), 10);
    EXPECT_FALSE(timer->isActive());
    auto* picker = Child<QDateEdit>(*form, "DateTimePicker1");
    EXPECT_EQ(picker->date(), QDate(2004, 4, 20));
    EXPECT_EQ(Utf8(picker->text()), "2004年4月20日");
}

TEST_F(GetDataFormTest, WithoutSettingsThePickerShowsEightDaysBeforeOpening) {
    fs::remove(SettingsFile());
    auto form = Open();
    EXPECT_EQ(Child<QDateEdit>(*form, "DateTimePicker1")->date(), QDate(2004, 5, 2));
    EXPECT_EQ(form->Control().StartTime(), (store::TLocalDateTime{2004, 5, 2, 12, 0, 0}));
}

TEST_F(GetDataFormTest, ChoosingADateInThePickerChangesTheFromTime) {
    auto form = Open();
    Child<QDateEdit>(*form, "DateTimePicker1")->setDate(QDate(2004, 4, 29));
    EXPECT_EQ(form->Control().StartTime(), (store::TLocalDateTime{2004, 4, 29, 10, 0, 0}));
    Run(*form);
    // Only the file published after 2004/04/29 10:00 is selected.
    EXPECT_EQ(form->Control().LastRun().readCount, 2);
}

// ---- Runs ---------------------------------------------------------------------------------

TEST_F(GetDataFormTest, AFirstRunFetchesReadsAndLeavesTheStartTime) {
    auto form = Open();
    Run(*form);
    EXPECT_LINE(Only(WithoutPolls(line), {"text", "box", "beep"}), Box(kNotice),
                Text("JVOpen正常:正常に実行されました。(0)"), Text("ReadCount:3, DownloadCount:3"),
                Text("ダウンロード中・・・"), Text("データ読込み中．．．(0/3)"),
                Text("データ読込み中．．．(1/3)"), Text("データ読込み中．．．(2/3)"),
                Text("データ読込み中．．．(3/3)"), Text("JVRead EndOfFile :0"),
                Text("データ読込み完了(3/3)"), kBeep, Box(kDone), kBeep);
    // Each file's lines come while it is read.
    EXPECT_EQ(Sorted(MadeBetween(line, "(0/3)", "(1/3)")),
              Sorted({Made(kAllMade[0]), Made(kAllMade[1])}));
    EXPECT_LINE(MadeBetween(line, "(1/3)", "(2/3)"), Made(kAllMade[2]));
    EXPECT_LINE(MadeBetween(line, "(2/3)", "(3/3)"), Made(kAllMade[3]));
    const std::vector<int> polls = PolledCounts(line, 3);
    ASSERT_FALSE(polls.empty());
    EXPECT_TRUE(std::is_sorted(polls.begin(), polls.end()));
    EXPECT_EQ(std::adjacent_find(polls.begin(), polls.end()), polls.end()) << "each count once";
    EXPECT_EQ(polls.back(), 3);

    EXPECT_EQ(Sorted(ListLines(*form)), Sorted(kAllMade));
    EXPECT_EQ(Child<QProgressBar>(*form, "ProgressBar1")->maximum(), 3);
    EXPECT_EQ(Child<QProgressBar>(*form, "ProgressBar1")->value(), 0);
    EXPECT_EQ(Child<QProgressBar>(*form, "ProgressBar2")->maximum(), 3);
    EXPECT_EQ(Child<QProgressBar>(*form, "ProgressBar2")->value(), 0);
    EXPECT_EQ(Child<widgets::TLabel3Dj>(*form, "ProgressLabel")->CaptionSjis(),
              S("データ読込み完了(3/3)"));
    EXPECT_TRUE(Stored("2004年05月01日東京.jvRA"));
    EXPECT_TRUE(Stored("2004年05月01日東京.jvSEr"));
    EXPECT_TRUE(fs::exists(root / "Rec" / "10513160011.jvRC") ||
                fs::exists(root / "REC" / "10513160011.jvRC"));

    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00") << "files were fetched";
    EXPECT_EQ(Child<QDateEdit>(*form, "DateTimePicker1")->date(), QDate(2004, 4, 20));
    EXPECT_TRUE(Child<QPushButton>(*form, "ButtonStart")->isEnabled());
    EXPECT_FALSE(Child<QTimer>(*form, "TimerJVStatus")->isActive());
}

TEST_F(GetDataFormTest, ARunFromTheCacheShowsTheDownloadBarFullAndMovesTheStartTime) {
    {
        auto first = Open();
        Run(*first);
    }
    line.clear();
    auto form = Open();
    int seenMax = -1;
    int seenValue = -1;
    ui.OnProcessEvents([&] {
        seenMax = Child<QProgressBar>(*form, "ProgressBar1")->maximum();
        seenValue = Child<QProgressBar>(*form, "ProgressBar1")->value();
    });
    Run(*form);
    EXPECT_EQ(seenMax, 100);
    EXPECT_EQ(seenValue, 100);
    EXPECT_EQ(Only(line, {"text"})[1], Text("ReadCount:3, DownloadCount:0"));
    EXPECT_EQ(PolledCounts(line, 0), std::vector<int>{});
    EXPECT_EQ(Sorted(ListLines(*form)), Sorted(kAllMade));
    EXPECT_EQ(StoredLastTime(), "2004/05/02 18:30:00");
    EXPECT_EQ(Child<QDateEdit>(*form, "DateTimePicker1")->date(), QDate(2004, 5, 2));
    form.reset();

    auto reopened = Open();
    EXPECT_EQ(Child<QDateEdit>(*reopened, "DateTimePicker1")->date(), QDate(2004, 5, 2));
    line.clear();
    Run(*reopened);
    EXPECT_EQ(Only(line, {"box"}),
              (std::vector<std::string>{Box(kNotice), Box("最新のデータがありません。")}))
        << "nothing is newer than the moved start time";
}

TEST_F(GetDataFormTest, StartIsRefusedWhileFetching) {
    Faults({}, 200);
    auto form = Open();
    auto* start = Child<QPushButton>(*form, "ButtonStart");
    start->click();
    ASSERT_TRUE(form->Control().Running());
    EXPECT_FALSE(start->isEnabled());
    start->click();
    form->ButtonStartClick();
    EXPECT_EQ(Only(line, {"box"}), std::vector<std::string>{Box(kNotice)});
    ASSERT_TRUE(PumpUntil([&] { return !form->Control().Running(); }));
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(form->Control().LastRun().end, TAcquisitionEnd::Completed);
}

// ---- Faults of the component --------------------------------------------------------------

TEST_F(GetDataFormTest, OpenFaultsAreShownAndNothingIsStored) {
    const std::pair<std::int32_t, std::string> cases[] = {
        {-504, "JVOpenエラー:サーバーがメンテナンス中です。(-504)"},
        {-301, "JVOpenエラー:認証エラーが発生しました。(-301)"},
    };
    for (const auto& [code, text] : cases) {
        Faults({.openError = code});
        auto form = Open();
        line.clear();
        Run(*form);
        EXPECT_LINE(line, Box(kNotice), kBeep, Box(text), kBeep);
        EXPECT_TRUE(ListLines(*form).empty());
        EXPECT_FALSE(Stored("2004年05月01日東京.jvRA"));
        EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");
    }
}

TEST_F(GetDataFormTest, NothingNewIsToldTheSameWayForMinusOneAndAnEmptyOpen) {
    Faults({.openEmpty = true});
    auto form = Open();
    Run(*form);
    EXPECT_LINE(line, Box(kNotice), kBeep, Box("最新のデータがありません。"), kBeep);

    Faults({});
    WriteSettings("2004/06/01 00:00:00");
    auto later = Open();
    line.clear();
    Run(*later);
    EXPECT_LINE(line, Box(kNotice), kBeep, Box("最新のデータがありません。"), kBeep);
    EXPECT_EQ(later->Control().LastRun().end, TAcquisitionEnd::NoNewData);
}

TEST_F(GetDataFormTest, AStatusFaultStopsTheTimerAndIsShown) {
    Faults({.statusFailAfter = 1, .statusError = -502});
    auto form = Open();
    Run(*form);
    EXPECT_LINE(Only(WithoutPolls(line), {"box", "beep"}), Box(kNotice), kBeep,
                Box("JVStatusエラー:ダウンロードに失敗しました。（通信エラーやディスクエラーなど）("
                    "-502)"),
                kBeep);
    EXPECT_FALSE(Child<QTimer>(*form, "TimerJVStatus")->isActive());
    EXPECT_TRUE(ListLines(*form).empty());
    EXPECT_EQ(form->Control().LastRun().end, TAcquisitionEnd::StatusError);
    EXPECT_TRUE(form->Control().LastRun().closed);
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");

    Faults({});
    line.clear();
    Run(*form);
    EXPECT_EQ(form->Control().LastRun().end, TAcquisitionEnd::Completed)
        << "JV-Link was closed, so the next run opens";
}

TEST_F(GetDataFormTest, ReadFaultsKeepWhatWasStored) {
    const std::pair<std::int32_t, std::string> cases[] = {
        {-402, "JVReadエラー:ダウンロードしたファイルサイズが異常です。(-402)"},
        {-403, "JVReadエラー:ダウンロードしたファイル内容が異常です。(-403)"},
    };
    for (const auto& [code, text] : cases) {
        Faults({.readFailAt = 2, .readError = code});
        auto form = Open();
        line.clear();
        Run(*form);
        EXPECT_LINE(Only(WithoutPolls(line), {"box", "beep"}), Box(kNotice), kBeep, Box(text),
                    kBeep);
        const auto lines = ListLines(*form);
        ASSERT_EQ(lines.size(), 1u) << "the first record was stored";
        EXPECT_TRUE(lines[0] == kAllMade[0] || lines[0] == kAllMade[1]) << lines[0];
        EXPECT_TRUE(lines[0] == kAllMade[0] ? Stored("2004年05月01日東京.jvRA")
                                            : Stored("2004年05月01日東京.jvSEr"));
        EXPECT_EQ(form->Control().LastRun().end, TAcquisitionEnd::ReadError);
        EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");
    }
}

TEST_F(GetDataFormTest, ACorruptRecordIsRefusedAndTheStartTimeStays) {
    {
        auto first = Open(); // fills the cache, so the next run has nothing to fetch
        Run(*first);
    }
    const std::pair<standin::TCorruption, std::string> cases[] = {
        {standin::TCorruption::Short, "保存せず(レコード長不正)"},
        {standin::TCorruption::Bytes, "保存せず(文字コード不正)"},
        {standin::TCorruption::Path, "保存せず(ファイル名不正)"},
    };
    for (const auto& [corruption, refused] : cases) {
        Faults({.corruptAt = 4, .corruption = corruption});
        auto form = Open();
        line.clear();
        Run(*form);
        const auto lines = ListLines(*form);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_TRUE(lines[3].starts_with(refused)) << lines[3];
        EXPECT_EQ(Sorted({lines[0], lines[1], lines[2]}),
                  Sorted({kAllMade[0], kAllMade[1], kAllMade[2]}));
        const auto boxes = Only(line, {"box"});
        ASSERT_EQ(boxes.size(), 3u) << ShowLine(line);
        EXPECT_EQ(boxes[1], Box(kDone));
        EXPECT_TRUE(boxes[2].starts_with(Box("保存しなかったレコード:1件"))) << ShowLine(boxes);
        EXPECT_EQ(form->Control().LastRun().end, TAcquisitionEnd::Completed);
        EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00") << "the refused record is read again";
        std::vector<std::string> dayFiles;
        for (const auto& entry : fs::directory_iterator(root / "DATA")) {
            dayFiles.push_back(Sjis::ToUtf8(files::TextFromPath(entry.path().filename())));
        }
        EXPECT_EQ(Sorted(dayFiles), Sorted({"2004年05月01日東京.jvRA", "2004年05月01日東京.jvSEr"}))
            << "nothing but the two race-day files";
        std::vector<std::string> beside;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            beside.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(Sorted(beside), Sorted({"Tomberly.ini", "root"}))
            << "nothing written outside the store";
    }
}

TEST_F(GetDataFormTest, BlankOrZeroTimestampsLeaveTheStartTime) {
    {
        auto first = Open();
        Run(*first);
    }
    for (const auto stamp : {standin::TTimestampForm::Blank, standin::TTimestampForm::Zeros}) {
        Faults({.lastFileTimestamp = stamp});
        auto window = Open();
        Run(*window);
        EXPECT_EQ(window->Control().LastRun().downloadCount, 0);
        EXPECT_EQ(window->Control().LastRun().end, TAcquisitionEnd::Completed);
        EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");
        EXPECT_EQ(Child<QDateEdit>(*window, "DateTimePicker1")->date(), QDate(2004, 4, 20));
    }
}

TEST_F(GetDataFormTest, ACloseFaultIsShownAfterTheCompletion) {
    Faults({.closeError = -1});
    auto form = Open();
    Run(*form);
    EXPECT_LINE(Only(WithoutPolls(line), {"box", "beep"}), Box(kNotice), kBeep, Box(kDone), kBeep,
                Box("JVCloseエラー:(-1)"));
}

// ---- Cancel and close during a run ----------------------------------------------------------

TEST_F(GetDataFormTest, CancelWhileFetching) {
    Faults({}, 100);
    auto form = Open();
    Child<QPushButton>(*form, "ButtonStart")->click();
    ASSERT_TRUE(PumpUntil([&] {
        return form->Control().State() == acquisition::TGetDataState::Fetching &&
               !PolledCounts(line, 3).empty();
    }));
    line.clear();
    ui.AnswerConfirm(true);
    Child<QPushButton>(*form, "ButtonCancel")->click();
    EXPECT_LINE(line, Ask(kQuestion), kBeep, Box(kCancelled), Text(kCancelled));
    EXPECT_FALSE(form->Control().Running());
    EXPECT_FALSE(Child<QTimer>(*form, "TimerJVStatus")->isActive());
    EXPECT_EQ(Child<widgets::TLabel3Dj>(*form, "ProgressLabel")->CaptionSjis(), S(kCancelled));
    EXPECT_TRUE(ListLines(*form).empty());
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");

    Faults({});
    Run(*form);
    EXPECT_EQ(form->Control().LastRun().end, TAcquisitionEnd::Completed)
        << "after the cancel JV-Link opens again";
}

TEST_F(GetDataFormTest, CancelWhileReading) {
    auto form = Open();
    int turns = 0;
    ui.OnProcessEvents([&] {
        if (++turns == 3) {
            ui.AnswerConfirm(true);
            Child<QPushButton>(*form, "ButtonCancel")->click();
        }
    });
    Run(*form);
    const auto boxes = Only(line, {"box", "confirm"});
    EXPECT_LINE(boxes, Box(kNotice), Ask(kQuestion), Box(kCancelled));
    EXPECT_EQ(ListLines(*form).size(), 2u) << "two records before the cancel";
    EXPECT_EQ(form->Control().LastRun().end, TAcquisitionEnd::Cancelled);
    EXPECT_TRUE(form->Control().LastRun().closed);
    EXPECT_EQ(form->Control().LastRun().closeCode, 0);
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");

    ui.OnProcessEvents({});
    line.clear();
    Run(*form);
    EXPECT_EQ(form->Control().LastRun().end, TAcquisitionEnd::Completed);
    EXPECT_EQ(StoredLastTime(), "2004/05/02 18:30:00") << "the cache made this run fetch nothing";
}

TEST_F(GetDataFormTest, ClosingWhileFetchingCancelsAndCloses) {
    Faults({}, 100);
    auto form = Open();
    Child<QPushButton>(*form, "ButtonStart")->click();
    ASSERT_TRUE(form->Control().Running());
    ui.AnswerConfirm(false);
    form->close();
    EXPECT_TRUE(form->isVisible()) << "No keeps the window and the run";
    EXPECT_TRUE(form->Control().Running());

    line.clear();
    ui.AnswerConfirm(true);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->Control().Running());
    EXPECT_LINE(line, Ask(kQuestion), kBeep, Box(kCancelled), Text(kCancelled), "rebuild");
    EXPECT_EQ(rebuilds, 1);

    Faults({});
    std::int32_t read = 0;
    std::int32_t download = 0;
    std::string stamp;
    EXPECT_EQ(link->JVOpen("RACERCVN", "20040420100000", 2, read, download, stamp), 0)
        << "the acquisition was ended";
    link->JVClose();
}

TEST_F(GetDataFormTest, ClosingWhileReadingWaitsForTheLoopToStop) {
    auto form = Open();
    int turns = 0;
    ui.OnProcessEvents([&] {
        if (++turns == 2) {
            ui.AnswerConfirm(true);
            form->close();
            EXPECT_TRUE(form->isVisible()) << "the window waits for the loop";
        }
    });
    Child<QPushButton>(*form, "ButtonStart")->click();
    EXPECT_TRUE(PumpUntil([&] { return !form->isVisible(); }));
    EXPECT_FALSE(form->Control().Running());
    EXPECT_EQ(rebuilds, 1);
    EXPECT_TRUE(form->Control().LastRun().closed);
    EXPECT_EQ(form->Control().LastRun().end, TAcquisitionEnd::Cancelled);
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");
    EXPECT_LINE(Only(line, {"box", "confirm", "rebuild"}), Box(kNotice), Ask(kQuestion),
                Box(kCancelled), "rebuild");
}

TEST_F(GetDataFormTest, ClosingWhenIdleRebuildsTheDateListOnce) {
    auto form = Open();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(rebuilds, 1);
    EXPECT_TRUE(Only(line, {"box", "confirm"}).empty());
}

TEST_F(GetDataFormTest, EnterStartsNothingAndEscapeClosesLikeTheTitleBar) {
    auto form = Open();
    auto* picker = Child<QDateEdit>(*form, "DateTimePicker1");
    picker->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(picker, &enter);
    EXPECT_FALSE(form->Control().Running());
    EXPECT_TRUE(line.empty()) << ShowLine(line);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(rebuilds, 1);
}

TEST_F(GetDataFormTest, TheCommandShowsTheWindowModallyAndItFreesItself) {
    acquisition::TGetDataFormOptions options;
    options.settingsFile = SettingsFile();
    options.rebuildDateList = [this] { ++rebuilds; };
    QPointer<TGetDataForm> seen;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        seen = qobject_cast<TGetDataForm*>(QApplication::activeModalWidget());
        ASSERT_FALSE(seen.isNull());
        modal = seen->isModal();
        Child<QCheckBox>(*seen, "CheckBoxSetup")->setChecked(false); // the ordinary run
        Child<QPushButton>(*seen, "ButtonStart")->click();           // fetching: the timer runs
        ui.AnswerConfirm(true);
        seen->close(); // cancels the run, then closes
    });
    acquisition::ShowGetDataForm(*link, root, ui, options, nullptr);
    EXPECT_TRUE(modal);
    EXPECT_EQ(rebuilds, 1) << "the date list is rebuilt once, as the window closes";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(seen.isNull()) << "the window freed itself";
    EXPECT_EQ(Only(line, {"box", "confirm"}),
              (std::vector<std::string>{Box(kNotice), Ask(kQuestion), Box(kCancelled)}));
}

// ---- The component's settings dialog ------------------------------------------------------

TEST_F(GetDataFormTest, TheSettingsButtonShowsTheComponentsError) {
    auto form = Open(); // the stand-in here has no dialog: JVSetUIProperties gives -100
    line.clear();
    Child<QToolButton>(*form, "SpeedButton1")->click();
    EXPECT_LINE(line, kBeep,
                Box("JVSetUIPropertiesエラー：パラメータが不正あるいはレジストリへの保存に失敗しま"
                    "した。(-100)"));

    standin::TStandInJVLink withDialog(
        ServiceFile(),
        [this](const auto&) {
            return standin::TCatalogueRead{*catalogue, {}};
        },
        [](standin::TStandInSettings& edited) {
            edited.downloadMsPerFile = 7;
            return standin::TEditOutcome::Accepted;
        });
    ASSERT_EQ(withDialog.JVInit("TOMBERLY130"), 0);
    TGetDataForm other(withDialog, root, ui, {.settingsFile = SettingsFile()});
    line.clear();
    other.SpeedButton1Click();
    EXPECT_TRUE(line.empty()) << ShowLine(line);
    EXPECT_EQ(standin::LoadSettings(ServiceFile()).downloadMsPerFile, 7);
}

} // namespace
