// tomberly-cli: the program's acquisition and date list without a window, for scheduled
// weekly updates and for scripts.
//
//   tomberly-cli acquire --root DIR [--setup] [--from yyyymmddhhnnss] [--verbose] [--sjis]
//   tomberly-cli dates --root DIR [--sjis]
//   tomberly-cli show --root DIR --day ENTRY [--race N] --page card|results [--sjis]
//   tomberly-cli show --root DIR --day ENTRY [--race N] --page horse [--horse K] [--sjis]
//   tomberly-cli show --root DIR --day ENTRY [--race N] --page times|last3f [--sjis]
//   tomberly-cli show --root DIR --day ENTRY [--race N] --page chart1|chart2|chart3|chart4
//                     [--select I] [--sjis]
//   tomberly-cli print --root DIR --day ENTRY --ops [--sjis]
//   tomberly-cli print --root DIR --day ENTRY --pdf FILE
//   tomberly-cli export --root DIR --day ENTRY [--race N] --table card|results|timetable
//                       [--csv utf8|sjis] [--out FILE] [--sjis]
//   tomberly-cli index --root DIR [--rebuild] [--sjis]
//   tomberly-cli search --root DIR --kind horse|jockey|trainer|sire NAME
//                       [--csv utf8|sjis --out FILE] [--sjis]
//   tomberly-cli stats --root DIR --kind horse|jockey|trainer|sire (NAME | --code CODE)
//                      [--csv utf8|sjis --out FILE] [--sjis]
//   tomberly-cli stats --root DIR --kind course COURSE [--distance M] [--csv ...] [--sjis]
//
// acquire runs what the acquisition window runs: JV-Link ("JVDTLab.JVLink") is initialised
// and opened for "RACERCVN" with option 2, the download is followed with a text progress bar
// on a terminal, every record is stored in the store under DIR, and JV-Link is closed. The
// from-time is --from, or else the start time the program keeps in DIR's settings file
// ("tomberly.ini", section "JvDataGet", key "LastTime"), or else the present local time less 8
// days. After a run that read and stored everything, LastTime becomes JV-Link's last file
// timestamp (never earlier than it was), so the next run starts where this one ended; a run
// that failed, was interrupted or refused records leaves it, and running again reads the same
// data again, which leaves the store as one complete run would have. --verbose lists every
// stored file. One acquisition at a time fills a store: while the window or another run holds
// it, acquire touches nothing and ends with status 9. A settings file that is there but cannot
// be read stops the run before JV-Link is opened. An interrupt while the last files are being
// written lets the writing finish, then ends with status 7.
//
// acquire --setup runs a setup acquisition instead, what a new store needs for the horse pages'
// five earlier runs, the time tables and the charts: JV-Link is opened for "RACEDIFN" (race data
// and accumulated master data) with the setup option, from --from or else from midnight a year
// back, whatever LastTime says; the files are fetched first and the run goes on as above, and
// LastTime becomes its last file timestamp, so the next plain acquire carries on from there.
//
// dates prints the date list, newest first: one race day and racecourse per line. A day whose
// cards never came and that is shown from its results ends in "（成績）"; show and print take
// it with that mark.
//
// show loads one race day (ENTRY, a line of the date list) as the main window does and prints
// one page of one of its races (race N, else the day's first race): the race card "出馬表"
// (header lines, then the grid, cells separated by tabs) or the results "成績結果" (each bet
// type's heading and its rows of boxes). ENTRY is read as UTF-8, or as Shift-JIS with --sjis
// (the way dates --sjis prints it) and whenever it is not UTF-8. --page horse prints the horse
// pages of the race's K-th horse tab (else the first): one line per control, StaticText1, the
// labels of "　馬情報１　" and "　馬情報２　" top to bottom, then lines 1 to 11 of "前走－１" to
// "前走－５", each the control's name, a tab and the label's text with its trailing blanks.
// --page times and last3f print a time table ("走破ﾀｲﾑ計算表", "上3ﾊﾛﾝﾀｲﾑ計算表": one line per
// grid row, the nine cells separated by tabs); chart1 to chart4 a chart's points, drawn for
// item I of the chart's selector (1-based, default 1: the runner I for chart1 and chart3, the
// run I back for chart2 and chart4; see analysis/AnalysisPages.h).
//
// print loads one race day as show does and draws its newspaper, one page per race that has
// runners, through the same drawing as the print preview. --ops prints the drawing operations
// one per line, tab-separated, in the page's own units (tenths of a millimetre, pen widths as
// drawn): "page" and the page number at each page start; "text", x, y, face, size, style (b,
// u, bu or -), font colour #RRGGBB and the text, then, for a text that may pass its column,
// the column's width (the text is condensed to it where it would be wider); "line", x1, y1,
// x2, y2 and the pen width; "rect", x1, y1, x2, y2, the pen width and the brush (#RRGGBB or
// clear). --pdf writes the pages to a PDF file without a display, on the page the print
// preview's PDF has (A4, the printable area 10 points in from each edge); that needs the
// program's Qt build.
//
// export loads one race day as show does and writes one table of one of its races (race N, else
// the day's first race) as a CSV file, the same file the main window's "CSVに保存" writes: the
// race card (the grid's columns), the results with the payoffs (one row per runner in finishing
// order, then one per payoff entry; see race/RaceTables.h) or both time tables (each row led by
// its table's name). One heading line, lines ended by CR LF; --csv utf8 (the default) writes
// UTF-8 with a byte order mark, --csv sjis Shift-JIS. The file is FILE, replaced whole, or the
// standard output without --out or with --out -.
//
// index checks the store's index (index.sqlite3 in DIR), builds it when it is missing, makes
// it anew when it is damaged or of another version, reads again the store files that changed
// since, and prints its counts; --rebuild makes it anew from the store in any case. acquire
// keeps it up to date by itself.
//
// search lists the runs of every horse, jockey, trainer or sire whose name holds NAME (kana or
// kanji, hiragana and katakana alike, blanks ignored), newest first: a heading line, then one
// run a line, cells separated by tabs. stats prints the statistics of one horse, jockey,
// trainer or sire (the one whose name holds NAME, or is NAME when several hold it; --code
// gives its code): runs, wins, 2nd, 3rd, rates and the win and place returns per 100 yen,
// for the whole and split by surface, distance, going and racecourse, each split a title line
// and its table. --kind course takes a racecourse's name or code and --distance (metres, else
// every distance). When NAME fits several subjects, stats lists them and ends with status 8.
// With --csv utf8 or sjis the list (for stats, every split in one list, the split's title in
// the first column) is written to --out FILE as CSV, UTF-8 with BOM or Shift-JIS.
//
// Texts are printed in UTF-8, or as the program's own Shift-JIS bytes with --sjis. Progress
// goes to the standard error, messages and lists to the standard output.
//
// Exit status: 0 done (also when there was no new data), 1 wrong arguments, 2 the data root,
// its folders or its settings file cannot be used, 3 JV-Link is not installed or does not
// initialise, 4 JV-Link failed (open, download, close), 5 reading ended on a JV-Link error,
// 6 a store file could not be read or written, 7 interrupted (Ctrl+C), 8 no such race day or
// race in the store, 9 another acquisition is using the store, 10 records were refused
// (everything else was stored; the refused records' files are listed), 11 the PDF or CSV file
// could not be written, 12 the store's index can be neither read nor made.

#include "acquisition/AcquisitionTimes.h"
#include "acquisition/HeadlessAcquisition.h"
#include "acquisition/SetupAcquisition.h"
#include "analysis/AnalysisPages.h"
#include "analysis/TimeTableExport.h"
#include "archive/ArchiveQueries.h"
#include "archive/StoreIndex.h"
#include "files/CsvText.h"
#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "horse/HorseDump.h"
#include "jvdata/SjisText.h"
#include "jvlink/CreateJVLink.h"
#include "jvlink/JVResultMessage.h"
#include "print/Newspaper.h"
#include "print/PageCanvas.h"
#include "race/DateList.h"
#include "race/DayLoad.h"
#include "race/DayPages.h"
#include "race/RaceTables.h"
#include "race/TRaceDayData.h"
#include "settings/TIniGT.h"
#include "store/LocalClock.h"
#include "store/StoreLayout.h"

#if defined(KEIBA_PRINT_PDF)
#include "print/ui/PagePrinting.h"
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
// After windows.h, which it needs.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

enum TExit : int {
    kDone = 0,
    kUsage = 1,
    kRootFailed = 2,
    kNoJVLink = 3,
    kJVLinkFailed = 4,
    kReadFailed = 5,
    kStoreFailed = 6,
    kInterrupted = 7,
    kNotInStore = 8,
    kStoreBusy = 9,
    kRefused = 10,
    kOutputFailed = 11,
    kNoIndex = 12,
};

// The software identifier the tool gives JVInit.
constexpr const char* kSid = "Tomberly-cli/Ver.1.30";
// The settings file of the program in the data root.
constexpr const char* kSettingsFile = "tomberly.ini";

std::atomic<bool> interrupted{false};

extern "C" void OnInterrupt(int) {
    interrupted.store(true);
}

bool IsTerminal(std::FILE* stream) {
#if defined(_WIN32)
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

// Prints CP932 texts as UTF-8 or as they are.
class TOutput {
public:
    explicit TOutput(bool sjis) : sjis_(sjis) {
#if defined(_WIN32)
        // A console shows what its code page says the bytes are.
        const UINT page = sjis ? 932 : CP_UTF8;
        SetConsoleOutputCP(page);
#endif
    }
    std::string Text(std::string_view cp932) const {
        return sjis_ ? std::string(cp932) : Sjis::ToUtf8(cp932);
    }
    // One line; CR LF inside a message become line ends of the output.
    void Line(std::FILE* stream, std::string_view cp932) const {
        std::string text = Text(cp932);
        for (std::size_t pos; (pos = text.find("\r\n")) != std::string::npos;) {
            text.replace(pos, 2, "\n");
        }
        std::fputs(text.c_str(), stream);
        std::fputc('\n', stream);
        std::fflush(stream);
    }
    // An ASCII or UTF-8 text of the tool itself, converted for --sjis.
    void Note(std::FILE* stream, std::string_view utf8) const {
        Line(stream, Sjis::FromUtf8(utf8));
    }

private:
    bool sjis_;
};

// Shows the acquisition's progress as lines, and on a terminal as one redrawn line with a
// bar.
class TConsoleSink final : public acquisition::IAcquisitionSink {
public:
    TConsoleSink(const TOutput& out, bool verbose)
        : out_(out), verbose_(verbose), terminal_(IsTerminal(stderr)) {}
    ~TConsoleSink() override { EndLine(); }

    void ProgressText(const std::string& text) override {
        text_ = text;
        Show();
    }
    void ReadingBarMax(int max) override {
        reading_ = true;
        max_ = max;
        position_ = 0;
        step_ = -1;
    }
    void ReadingBar(int position) override {
        if (reading_) {
            position_ = position;
        }
    }
    void DownloadBarMax(int max) override {
        max_ = max;
        position_ = 0;
        step_ = -1;
    }
    void DownloadBar(int position) override {
        if (!reading_) {
            position_ = position;
        }
    }
    void MadeFile(const std::string& line) override {
        if (verbose_) {
            EndLine();
            out_.Line(stdout, line);
        }
    }
    void Beep() override {}
    void InformationBox(const std::string& text) override {
        EndLine();
        out_.Line(stdout, text);
    }
    void ErrorBox(const std::string& text) override {
        EndLine();
        out_.Line(stderr, text);
    }
    void ProcessPendingEvents() override {}

private:
    // A counter text (the download's or the reading's files): shown on a terminal every time,
    // in a log at every tenth of the way.
    bool IsCounter() const {
        static const std::string reading = Sjis::FromUtf8("データ読込み中．．．(");
        static const std::string download = Sjis::FromUtf8("ダウンロード中．．．(");
        return text_.starts_with(reading) || text_.starts_with(download);
    }

    void Show() {
        if (terminal_) {
            std::string line = out_.Text(text_);
            if (IsCounter() && max_ > 0) {
                const int width = 30;
                const int filled =
                    static_cast<int>(static_cast<long long>(position_) * width / std::max(1, max_));
                const auto done = static_cast<std::size_t>(std::clamp(filled, 0, width));
                line += " [" + std::string(done, '#') +
                        std::string(static_cast<std::size_t>(width) - done, '.') + "]";
            }
            std::string padded = "\r" + line;
            if (line.size() < shown_) {
                padded += std::string(shown_ - line.size(), ' ');
            }
            shown_ = line.size();
            std::fputs(padded.c_str(), stderr);
            std::fflush(stderr);
            open_ = true;
            return;
        }
        if (IsCounter() && max_ > 0) {
            const int step = static_cast<int>(static_cast<long long>(position_) * 10 / max_);
            if (step == step_ && position_ != max_) {
                return;
            }
            step_ = step;
        }
        out_.Line(stderr, text_);
    }

    void EndLine() {
        if (open_) {
            std::fputc('\n', stderr);
            open_ = false;
            shown_ = 0;
        }
    }

    const TOutput& out_;
    bool verbose_;
    bool terminal_;
    std::string text_;
    bool reading_ = false;
    int max_ = 0;
    int position_ = 0;
    int step_ = -1;
    std::size_t shown_ = 0;
    bool open_ = false;
};

// The command line as UTF-8 texts, without the program name.
std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args;
#if defined(_WIN32)
    (void)argc;
    (void)argv;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
        text.resize(text.find('\0'));
        args.push_back(std::move(text));
    }
    if (wide != nullptr) {
        LocalFree(wide);
    }
#else
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
#endif
    return args;
}

fs::path PathOfArgument(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathText(const fs::path& path) {
    const auto utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

struct TOptions {
    std::string command;
    std::optional<std::string> root;
    std::optional<std::string> from;
    std::optional<std::string> day;      // show, print, export: the date list entry
    std::optional<std::string> race;     // show, export: the race number
    std::optional<std::string> page;     // show: the page
    std::optional<std::string> horse;    // show --page horse: the horse tab
    std::optional<std::string> select;   // show: the chart selector's item, 1-based
    std::optional<std::string> pdf;      // print: the PDF file to write
    std::optional<std::string> table;    // export: card, results or timetable
    std::optional<std::string> name;     // search, stats: the name part
    std::optional<std::string> kind;     // search, stats: whose runs or statistics
    std::optional<std::string> code;     // stats: the subject's code
    std::optional<std::string> distance; // stats --kind course: metres
    std::optional<std::string> csv;      // export, search, stats: utf8 or sjis
    std::optional<std::string> outFile;  // export, search, stats: the CSV file ("-": stdout)
    bool rebuild = false;                // index: make it anew
    bool ops = false;                    // print: list the drawing operations
    bool setup = false;                  // acquire: a setup acquisition
    bool verbose = false;
    bool sjis = false;
    bool help = false;
};

constexpr const char* kUsageText =
    "usage: tomberly-cli acquire --root DIR [--setup] [--from yyyymmddhhnnss] [--verbose]\n"
    "                            [--sjis]\n"
    "       tomberly-cli dates --root DIR [--sjis]\n"
    "       tomberly-cli show --root DIR --day ENTRY [--race N] --page card|results [--sjis]\n"
    "       tomberly-cli show --root DIR --day ENTRY [--race N] --page horse [--horse K] [--sjis]\n"
    "       tomberly-cli show --root DIR --day ENTRY [--race N] --page times|last3f [--sjis]\n"
    "       tomberly-cli show --root DIR --day ENTRY [--race N]\n"
    "                         --page chart1|chart2|chart3|chart4 [--select I] [--sjis]\n"
    "       tomberly-cli print --root DIR --day ENTRY --ops [--sjis]\n"
    "       tomberly-cli print --root DIR --day ENTRY --pdf FILE\n"
    "       tomberly-cli export --root DIR --day ENTRY [--race N]\n"
    "                           --table card|results|timetable [--csv utf8|sjis]\n"
    "                           [--out FILE] [--sjis]\n"
    "       tomberly-cli index --root DIR [--rebuild] [--sjis]\n"
    "       tomberly-cli search --root DIR --kind horse|jockey|trainer|sire NAME\n"
    "                           [--csv utf8|sjis --out FILE] [--sjis]\n"
    "       tomberly-cli stats --root DIR --kind horse|jockey|trainer|sire NAME|--code CODE\n"
    "                          [--csv utf8|sjis --out FILE] [--sjis]\n"
    "       tomberly-cli stats --root DIR --kind course COURSE [--distance M]\n"
    "                          [--csv utf8|sjis --out FILE] [--sjis]\n"
    "\n"
    "acquire  fetch new JV-Data through JV-Link and store it in the store under DIR;\n"
    "         without --from, start at the settings' LastTime (DIR/tomberly.ini), else 8\n"
    "         days ago; --verbose lists every stored file; --setup fetches all race data\n"
    "         and horse masters from --from, else from a year ago (a new store's first\n"
    "         acquisition, for five earlier runs a horse)\n"
    "dates    print the store's race days and racecourses, newest first\n"
    "show     print the race card or the results of race N (else the first race) of the\n"
    "         race day ENTRY, a line as dates prints it; --page horse the horse pages\n"
    "         of its K-th horse tab (else the first), one control a line; times and\n"
    "         last3f the time tables, chart1..chart4 the chart's points for the selector's\n"
    "         item I (the runner I for chart1 and chart3, the run I back for chart2 and 4)\n"
    "print    draw the newspaper of the race day ENTRY, one page per race: --ops lists\n"
    "         the drawing operations, --pdf writes the pages to FILE\n"
    "export   write the race card, the results with payoffs or the time tables of race N\n"
    "         (else the first race) of the race day ENTRY as CSV, one heading line: UTF-8\n"
    "         with BOM (--csv utf8, the default) or Shift-JIS (--csv sjis), to FILE or,\n"
    "         without --out or with --out -, to the standard output\n"
    "index    check the store's index (build it when missing or damaged) and print its\n"
    "         counts; --rebuild makes it anew from the store\n"
    "search   list the runs of the horses, jockeys, trainers or sires whose name holds\n"
    "         NAME (kana or kanji), newest first, tab-separated\n"
    "stats    print the statistics of one horse, jockey, trainer or sire (NAME, or\n"
    "         --code), or of a racecourse (name or code) and --distance: the whole, then\n"
    "         by surface, distance, going and racecourse\n"
    "--csv    write the list to --out FILE as CSV, utf8 (with BOM) or sjis\n"
    "--sjis   print Shift-JIS instead of UTF-8\n"
    "\n"
    "exit status: 0 done, 1 arguments, 2 data root or settings, 3 JV-Link missing or not\n"
    "initialised, 4 JV-Link error, 5 read error, 6 store error, 7 interrupted, 8 no such\n"
    "day or race (or subject), 9 store in use by another acquisition, 10 records refused,\n"
    "11 PDF or CSV file not written, 12 no index\n";

// A race number argument, 1 to 12 in plain digits.
std::optional<int> RaceNumberOf(const std::string& text) {
    if (text.empty() || text.size() > 2 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int number = std::stoi(text);
    if (number < 1 || number > race::kRaceSlots) {
        return std::nullopt;
    }
    return number;
}

// A horse tab or chart selector item argument, 1 to 18 in plain digits.
std::optional<int> ItemOf(const std::string& text) {
    if (text.empty() || text.size() > 2 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int number = std::stoi(text);
    if (number < 1 || number > race::kRunnerSlots) {
        return std::nullopt;
    }
    return number;
}

// A number of metres, 1 to 4 plain digits.
std::optional<int> DistanceOf(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoi(text);
}

std::optional<archive::TSubjectKind> KindOf(const std::string& text) {
    if (text == "horse") {
        return archive::TSubjectKind::Horse;
    }
    if (text == "jockey") {
        return archive::TSubjectKind::Jockey;
    }
    if (text == "trainer") {
        return archive::TSubjectKind::Trainer;
    }
    if (text == "sire") {
        return archive::TSubjectKind::Sire;
    }
    if (text == "course") {
        return archive::TSubjectKind::Course;
    }
    return std::nullopt;
}

// The options of index, search and stats; an error text when they are wrong.
std::optional<std::string> ParseArchive(const TOptions& options) {
    const bool search = options.command == "search";
    const bool stats = options.command == "stats";
    if (options.rebuild && options.command != "index") {
        return std::string("--rebuild belongs to index");
    }
    if (!search && !stats) {
        if (options.name || options.kind || options.code || options.distance) {
            return std::string("a name, --kind, --code and --distance belong to search and stats");
        }
        return std::nullopt;
    }
    const auto kind = options.kind ? KindOf(*options.kind) : std::nullopt;
    if (!kind || (search && *kind == archive::TSubjectKind::Course)) {
        return std::string(search ? "--kind horse|jockey|trainer|sire is required"
                                  : "--kind horse|jockey|trainer|sire|course is required");
    }
    if (options.code && (search || *kind == archive::TSubjectKind::Course)) {
        return std::string("--code belongs to stats of a horse, jockey, trainer or sire");
    }
    if (options.code && options.name) {
        return std::string("give either a name or --code");
    }
    if (!options.code && (!options.name || options.name->empty())) {
        return std::string(*kind == archive::TSubjectKind::Course ? "a racecourse is required"
                                                                  : "a name is required");
    }
    if (options.distance && *kind != archive::TSubjectKind::Course) {
        return std::string("--distance belongs to stats --kind course");
    }
    if (options.distance && !DistanceOf(*options.distance)) {
        return "--distance must be metres: " + *options.distance;
    }
    if (options.csv && *options.csv != "utf8" && *options.csv != "sjis") {
        return "--csv must be utf8 or sjis: " + *options.csv;
    }
    if (options.csv.has_value() != options.outFile.has_value() ||
        (options.outFile && options.outFile->empty())) {
        return std::string("--csv utf8|sjis and --out FILE go together");
    }
    return std::nullopt;
}

// Parses the arguments; an error text when they are wrong.
std::optional<std::string> Parse(const std::vector<std::string>& args, TOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::optional<std::string>& into) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                return arg + " needs a value";
            }
            into = args[++i];
            return std::nullopt;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--root") {
            if (auto error = value(options.root)) {
                return error;
            }
        } else if (arg == "--from") {
            if (auto error = value(options.from)) {
                return error;
            }
        } else if (arg == "--day") {
            if (auto error = value(options.day)) {
                return error;
            }
        } else if (arg == "--race") {
            if (auto error = value(options.race)) {
                return error;
            }
        } else if (arg == "--page") {
            if (auto error = value(options.page)) {
                return error;
            }
        } else if (arg == "--horse") {
            if (auto error = value(options.horse)) {
                return error;
            }
        } else if (arg == "--select") {
            if (auto error = value(options.select)) {
                return error;
            }
        } else if (arg == "--pdf") {
            if (auto error = value(options.pdf)) {
                return error;
            }
        } else if (arg == "--table") {
            if (auto error = value(options.table)) {
                return error;
            }
        } else if (arg == "--kind") {
            if (auto error = value(options.kind)) {
                return error;
            }
        } else if (arg == "--code") {
            if (auto error = value(options.code)) {
                return error;
            }
        } else if (arg == "--distance") {
            if (auto error = value(options.distance)) {
                return error;
            }
        } else if (arg == "--csv") {
            if (auto error = value(options.csv)) {
                return error;
            }
        } else if (arg == "--out") {
            if (auto error = value(options.outFile)) {
                return error;
            }
        } else if (arg == "--rebuild") {
            options.rebuild = true;
        } else if (arg == "--ops") {
            options.ops = true;
        } else if (arg == "--setup") {
            options.setup = true;
        } else if (arg == "--verbose" || arg == "-v") {
            options.verbose = true;
        } else if (arg == "--sjis") {
            options.sjis = true;
        } else if (!arg.starts_with("-") && options.command.empty()) {
            options.command = arg;
        } else if (!arg.starts_with("-") && !options.name) {
            options.name = arg;
        } else {
            return "unknown argument: " + arg;
        }
    }
    if (options.help) {
        return std::nullopt;
    }
    if (options.command != "acquire" && options.command != "dates" && options.command != "show" &&
        options.command != "print" && options.command != "export" && options.command != "index" &&
        options.command != "search" && options.command != "stats") {
        return options.command.empty() ? std::string("no command given")
                                       : "unknown command: " + options.command;
    }
    if (!options.root || options.root->empty()) {
        return std::string("--root DIR is required");
    }
    if (options.from && options.command != "acquire") {
        return std::string("--from belongs to acquire");
    }
    if (options.setup && options.command != "acquire") {
        return std::string("--setup belongs to acquire");
    }
    const bool show = options.command == "show";
    const bool print = options.command == "print";
    const bool exporting = options.command == "export";
    if (!show && (options.page || options.horse || options.select)) {
        return std::string("--page, --horse and --select belong to show");
    }
    if (!show && !exporting && options.race) {
        return std::string("--race belongs to show and export");
    }
    if (!show && !print && !exporting && options.day) {
        return std::string("--day belongs to show, print and export");
    }
    if (!exporting && options.table) {
        return std::string("--table belongs to export");
    }
    if (!exporting && options.command != "search" && options.command != "stats" &&
        (options.csv || options.outFile)) {
        return std::string("--csv and --out belong to export, search and stats");
    }
    if (exporting) {
        if (!options.day || options.day->empty()) {
            return std::string("--day ENTRY is required");
        }
        if (!options.table) {
            return std::string("--table card|results|timetable is required");
        }
        if (*options.table != "card" && *options.table != "results" &&
            *options.table != "timetable") {
            return "--table must be card, results or timetable: " + *options.table;
        }
        if (options.csv && *options.csv != "utf8" && *options.csv != "sjis") {
            return "--csv must be utf8 or sjis: " + *options.csv;
        }
        if (options.outFile && options.outFile->empty()) {
            return std::string("--out needs a file name (or - for the standard output)");
        }
        if (options.race && !RaceNumberOf(*options.race)) {
            return "--race must be a race number 1 to 12: " + *options.race;
        }
    }
    if (!print && (options.ops || options.pdf)) {
        return std::string("--ops and --pdf belong to print");
    }
    if (print) {
        if (!options.day || options.day->empty()) {
            return std::string("--day ENTRY is required");
        }
        if (options.ops == options.pdf.has_value()) {
            return std::string("print needs one of --ops and --pdf FILE");
        }
        if (options.pdf && options.pdf->empty()) {
            return std::string("--pdf needs a file name");
        }
    }
    if (show) {
        if (!options.day || options.day->empty()) {
            return std::string("--day ENTRY is required");
        }
        if (!options.page) {
            return std::string("--page card|results is required");
        }
        const bool chart = options.page->starts_with("chart");
        if (*options.page != "card" && *options.page != "results" && *options.page != "horse" &&
            !analysis::AnalysisPageOf(*options.page)) {
            return "--page must be card, results, horse, times, last3f or chart1 to chart4: " +
                   *options.page;
        }
        if (options.select && (!chart || !ItemOf(*options.select))) {
            return chart ? "--select must be an item number 1 to 18: " + *options.select
                         : std::string("--select belongs to the chart pages");
        }
        if (options.horse && *options.page != "horse") {
            return std::string("--horse belongs to --page horse");
        }
        if (options.horse && !ItemOf(*options.horse)) {
            return "--horse must be a horse tab 1 to 18: " + *options.horse;
        }
        if (options.race && !RaceNumberOf(*options.race)) {
            return "--race must be a race number 1 to 12: " + *options.race;
        }
    }
    if (auto error = ParseArchive(options)) {
        return error;
    }
    if (options.from && !acquisition::ParseFromTime(*options.from)) {
        return "--from must be yyyymmddhhnnss, a real date and time: " + *options.from;
    }
    return std::nullopt;
}

// The data root, which must be a folder.
std::optional<fs::path> DataRoot(const TOptions& options, const TOutput& out) {
    const fs::path root = PathOfArgument(*options.root);
    std::error_code error;
    if (!fs::is_directory(root, error)) {
        out.Note(stderr, "tomberly-cli: the data root is not a folder: " + PathText(root));
        return std::nullopt;
    }
    return fs::absolute(root, error);
}

int Dates(const TOptions& options, const TOutput& out) {
    const auto root = DataRoot(options, out);
    if (!root) {
        return kRootFailed;
    }
    const race::TDateListResult list = race::MakeDateList(*root);
    if (list.error) {
        out.Note(stderr, "tomberly-cli: the DATA folder cannot be listed: " + list.error.message());
        return kRootFailed;
    }
    for (const auto& entry : list.entries) {
        out.Line(stdout, entry);
    }
    return kDone;
}

// The date list entry of --day: Shift-JIS as given with --sjis or when it is no UTF-8 text,
// else converted from UTF-8.
std::string EntryOf(const TOptions& options) {
    if (!options.sjis) {
        if (auto sjis = Sjis::TryFromUtf8(*options.day)) {
            return *sjis;
        }
    }
    return *options.day;
}

// show --page horse: the horse pages of one runner, one control a line.
// Why a race day or one of its races could not be shown.
enum class TDayFailure { UnknownDay, ReadFailed, UnknownRace };

// Reports it on stderr (message: the load's own text); the exit status.
int ReportDayFailure(const TOutput& out, TDayFailure failure, const std::string& entry,
                     const std::string& message, std::string_view race = {}) {
    switch (failure) {
    case TDayFailure::ReadFailed:
        out.Line(stderr, Sjis::FromUtf8("tomberly-cli: ") + message);
        return kStoreFailed;
    case TDayFailure::UnknownDay:
        out.Line(stderr, Sjis::FromUtf8("tomberly-cli: no complete race day ") + entry +
                             Sjis::FromUtf8(" in the store (see the dates command): ") + message);
        return kNotInStore;
    case TDayFailure::UnknownRace:
        break;
    }
    out.Line(stderr, Sjis::FromUtf8("tomberly-cli: race day ") + entry +
                         Sjis::FromUtf8(" has no race ") + std::string(race));
    return kNotInStore;
}

// The race --race names, if given.
std::optional<int> RaceOption(const TOptions& options) {
    return options.race ? RaceNumberOf(*options.race) : std::nullopt;
}

int ShowHorse(const TOptions& options, const TOutput& out, const fs::path& root) {
    const std::string entry = EntryOf(options);
    const std::optional<int> number = RaceOption(options);
    const int horseTab = options.horse ? ItemOf(*options.horse).value_or(0) : 1;
    const auto day = std::make_unique<race::TRaceDayData>();
    const horse::THorseDumpResult result =
        horse::HorsePageDump(root, entry, number, horseTab, *day, archive::IndexedDayRunners(root));
    switch (result.status) {
    case horse::THorseDumpStatus::Shown:
        break;
    case horse::THorseDumpStatus::UnknownDay:
        return ReportDayFailure(out, TDayFailure::UnknownDay, entry, result.message);
    case horse::THorseDumpStatus::ReadFailed:
        return ReportDayFailure(out, TDayFailure::ReadFailed, entry, result.message);
    case horse::THorseDumpStatus::UnknownRace:
        return ReportDayFailure(out, TDayFailure::UnknownRace, entry, result.message,
                                options.race.value_or(""));
    case horse::THorseDumpStatus::UnknownHorse:
        out.Line(stderr, Sjis::FromUtf8("tomberly-cli: race ") + std::to_string(result.raceNumber) +
                             Sjis::FromUtf8(" of ") + entry + Sjis::FromUtf8(" has no horse tab ") +
                             std::to_string(horseTab) + Sjis::FromUtf8(" (it has ") +
                             std::to_string(result.horseTabs) + Sjis::FromUtf8(")"));
        return kNotInStore;
    }
    for (const std::string& line : result.lines) {
        out.Line(stdout, line);
    }
    return kDone;
}

int Show(const TOptions& options, const TOutput& out) {
    const auto root = DataRoot(options, out);
    if (!root) {
        return kRootFailed;
    }
    if (*options.page == "horse") {
        return ShowHorse(options, out, *root);
    }
    const std::string entry = EntryOf(options);
    const std::optional<int> number = RaceOption(options);
    // The race day is about 2.5 MB: on the heap, once.
    const auto day = std::make_unique<race::TRaceDayData>();
    race::TDayPageResult result;
    if (const auto analysisPage = analysis::AnalysisPageOf(*options.page)) {
        const int select = options.select ? ItemOf(*options.select).value_or(1) : 1;
        analysis::TAnalysisPageResult shown = analysis::AnalysisDayPageLines(
            *root, entry, number, *analysisPage, select, *day, archive::IndexedDayRunners(*root));
        if (shown.noSuchItem) {
            out.Note(stderr, "tomberly-cli: the selector of " + *options.page + " has no item " +
                                 std::to_string(select) + " in that race");
            return kNotInStore;
        }
        result = std::move(shown.page);
    } else {
        const race::TDayPage page =
            *options.page == "card" ? race::TDayPage::Card : race::TDayPage::Results;
        result =
            race::DayPageLines(*root, entry, number, page, *day, archive::IndexedDayRunners(*root));
    }
    switch (result.status) {
    case race::TDayPageStatus::Shown:
        break;
    case race::TDayPageStatus::UnknownDay:
        return ReportDayFailure(out, TDayFailure::UnknownDay, entry, result.message);
    case race::TDayPageStatus::ReadFailed:
        return ReportDayFailure(out, TDayFailure::ReadFailed, entry, result.message);
    case race::TDayPageStatus::UnknownRace:
        return ReportDayFailure(out, TDayFailure::UnknownRace, entry, result.message,
                                *options.race);
    }
    for (const std::string& line : result.lines) {
        out.Line(stdout, line);
    }
    return kDone;
}

// A name argument as CP932: as given with --sjis or when it is no UTF-8 text.
std::string NameArgument(const TOptions& options, const std::string& text) {
    if (!options.sjis) {
        if (auto sjis = Sjis::TryFromUtf8(text)) {
            return *sjis;
        }
    }
    return text;
}

// The store's index for index, search and stats, its message on stderr; nothing when there
// is none.
std::unique_ptr<archive::TStoreIndex> OpenIndex(const fs::path& root, bool rebuild,
                                                const TOutput& out) {
    archive::TIndexOpenResult opened =
        rebuild ? archive::RebuildStoreIndex(root) : archive::OpenStoreIndex(root);
    if (!opened.message.empty()) {
        out.Line(stderr, opened.message);
    }
    if (!opened.index) {
        out.Note(stderr, "tomberly-cli: the store's index can be neither read nor made");
    }
    return std::move(opened.index);
}

int Index(const TOptions& options, const TOutput& out) {
    const auto root = DataRoot(options, out);
    if (!root) {
        return kRootFailed;
    }
    const auto index = OpenIndex(*root, options.rebuild, out);
    if (!index) {
        return kNoIndex;
    }
    try {
        const archive::TIndexCounts counts = index->Counts();
        const std::pair<const char*, std::int64_t> lines[] = {
            {"files", counts.files},   {"races", counts.races},     {"runs", counts.runs},
            {"horses", counts.horses}, {"jockeys", counts.jockeys}, {"trainers", counts.trainers},
            {"sires", counts.sires},   {"payoffs", counts.payoffs},
        };
        for (const auto& [name, count] : lines) {
            out.Note(stdout, std::string(name) + "\t" + std::to_string(count));
        }
    } catch (const archive::sql::TSqlError& error) {
        out.Note(stderr, std::string("tomberly-cli: the index cannot be read: ") + error.what());
        return kNoIndex;
    }
    return kDone;
}

// Prints a list, or writes it as CSV with --csv.
int PutTable(const TOptions& options, const TOutput& out, const files::TTextTable& table) {
    if (options.csv) {
        const files::TCsvEncoding encoding =
            *options.csv == "sjis" ? files::TCsvEncoding::ShiftJis : files::TCsvEncoding::Utf8Bom;
        const fs::path file = PathOfArgument(*options.outFile);
        if (const std::error_code error = files::WriteCsvFile(file, table, encoding)) {
            out.Line(stderr, Sjis::FromUtf8("tomberly-cli: " + PathText(file) + ": ") +
                                 files::SystemErrorText(error));
            return kOutputFailed;
        }
        out.Note(stderr, "tomberly-cli: " + std::to_string(table.rows.size()) +
                             " rows written to " + PathText(file));
        return kDone;
    }
    for (const std::string& line : archive::TableLines(table)) {
        out.Line(stdout, line);
    }
    return kDone;
}

int Search(const TOptions& options, const TOutput& out) {
    const auto root = DataRoot(options, out);
    if (!root) {
        return kRootFailed;
    }
    const auto index = OpenIndex(*root, false, out);
    if (!index) {
        return kNoIndex;
    }
    const archive::TSearchResult result =
        archive::SearchRuns(*index, *KindOf(*options.kind), NameArgument(options, *options.name));
    if (!result.message.empty()) {
        out.Line(stderr, result.message);
    }
    if (result.truncated) {
        out.Note(stderr, "tomberly-cli: more runs match; the newest " +
                             std::to_string(archive::kSearchRowLimit) + " are listed");
    }
    return PutTable(options, out, result.table);
}

// The subject of stats: its code from --code, or the one subject NAME finds (or that is NAME
// when several hold it); nothing, the candidates listed, when it is not one.
std::optional<std::string> ChooseSubject(const TOptions& options, const TOutput& out,
                                         const archive::TStoreIndex& index,
                                         archive::TSubjectKind kind) {
    if (options.code) {
        return *options.code;
    }
    const std::string name = NameArgument(options, *options.name);
    const archive::TSubjectList list = archive::FindSubjects(index, kind, name);
    if (kind == archive::TSubjectKind::Course && list.codes.empty()) {
        // A racecourse given by its code.
        const archive::TSubjectList all = archive::FindSubjects(index, kind, "");
        for (const std::string& code : all.codes) {
            if (code == name) {
                return code;
            }
        }
    }
    if (list.codes.size() == 1) {
        return list.codes.front();
    }
    for (std::size_t i = 0; i < list.codes.size(); ++i) {
        if (list.table.rows[i].size() > 1 && list.table.rows[i][1] == name) {
            return list.codes[i];
        }
    }
    if (list.codes.empty()) {
        out.Line(stderr, Sjis::FromUtf8("tomberly-cli: no ") + archive::SubjectKindName(kind) +
                             Sjis::FromUtf8(" in the index holds ") + name);
        return std::nullopt;
    }
    out.Line(stderr, Sjis::FromUtf8("tomberly-cli: several hold ") + name +
                         Sjis::FromUtf8("; give one of the codes with --code:"));
    for (const std::string& line : archive::TableLines(list.table)) {
        out.Line(stderr, line);
    }
    return std::nullopt;
}

int Stats(const TOptions& options, const TOutput& out) {
    const auto root = DataRoot(options, out);
    if (!root) {
        return kRootFailed;
    }
    const auto index = OpenIndex(*root, false, out);
    if (!index) {
        return kNoIndex;
    }
    const archive::TSubjectKind kind = *KindOf(*options.kind);
    const auto code = ChooseSubject(options, out, *index, kind);
    if (!code) {
        return kNotInStore;
    }
    archive::TStatsRequest request;
    request.kind = kind;
    if (kind == archive::TSubjectKind::Course) {
        request.course = *code;
        request.distance = options.distance ? DistanceOf(*options.distance).value_or(0) : 0;
    } else {
        request.code = *code;
    }
    const archive::TStatsResult stats = archive::Statistics(*index, request);
    if (!stats.message.empty()) {
        out.Line(stderr, stats.subject + " " + stats.message);
        return kNotInStore;
    }
    if (options.csv) {
        return PutTable(options, out, archive::StatsTable(stats));
    }
    out.Line(stdout, stats.subject);
    for (const archive::TStatsSection& section : stats.sections) {
        out.Line(stdout, "");
        out.Line(stdout, section.title);
        PutTable(options, out, section.table);
    }
    return kDone;
}

// A settings value for a message: bytes below 20 (hexadecimal) and 7F, NUL among them, shown as
// "\xNN" so that none cuts or garbles the line.
std::string Printable(std::string_view cp932) {
    std::string shown;
    for (const char c : cp932) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            shown.append("\\x").push_back(kHex[byte >> 4]);
            shown.push_back(kHex[byte & 15]);
        } else {
            shown.push_back(c);
        }
    }
    return Sjis::ToUtf8(shown);
}

// print: the day's newspaper as drawing operations (--ops) or as a PDF file (--pdf, where the
// program's windows are built: the pages are replayed as the print preview replays them).
int Print(const TOptions& options, const TOutput& out) {
    const auto root = DataRoot(options, out);
    if (!root) {
        return kRootFailed;
    }
    const std::string entry = EntryOf(options);
    const auto day = std::make_unique<race::TRaceDayData>();
    const race::TDayLoadResult load =
        race::LoadRaceDay(*root, entry, *day, {}, archive::IndexedDayRunners(*root));
    if (!load.loaded()) {
        return ReportDayFailure(out,
                                load.status == race::TDayLoadStatus::ReadFailed
                                    ? TDayFailure::ReadFailed
                                    : TDayFailure::UnknownDay,
                                entry, load.message);
    }
    if (options.ops) {
        print::TPageRecorder pages;
        print::DrawNewspaper(*day, pages);
        const std::string text = out.Text(print::PageOpsText(pages.Pages()));
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return kDone;
    }
#if defined(KEIBA_PRINT_PDF)
    const fs::path file = PathOfArgument(*options.pdf);
    try {
        const int pages = print::ui::WriteNewspaperPdf(*day, file);
        if (pages == 0) {
            out.Line(stderr, Sjis::FromUtf8("tomberly-cli: race day ") + entry +
                                 Sjis::FromUtf8(" has no race with runners to print"));
            return kNotInStore;
        }
        out.Note(stderr, "tomberly-cli: " + std::to_string(pages) +
                             (pages == 1 ? " page" : " pages") + " written to " + PathText(file));
    } catch (const print::ui::EPrevError&) {
        out.Note(stderr, "tomberly-cli: the PDF file cannot be written: " + PathText(file));
        return kOutputFailed;
    }
    return kDone;
#else
    out.Note(stderr, "tomberly-cli: PDF output needs the program's Qt build");
    return kOutputFailed;
#endif
}

// export: one table of one race as a CSV file or on the standard output.
int Export(const TOptions& options, const TOutput& out) {
    const auto root = DataRoot(options, out);
    if (!root) {
        return kRootFailed;
    }
    const std::string entry = EntryOf(options);
    const auto day = std::make_unique<race::TRaceDayData>();
    const race::TDayRace race = race::LoadDayRace(*root, entry, RaceOption(options), *day,
                                                  archive::IndexedDayRunners(*root));
    switch (race.status) {
    case race::TDayPageStatus::Shown:
        break;
    case race::TDayPageStatus::UnknownDay:
        return ReportDayFailure(out, TDayFailure::UnknownDay, entry, race.message);
    case race::TDayPageStatus::ReadFailed:
        return ReportDayFailure(out, TDayFailure::ReadFailed, entry, race.message);
    case race::TDayPageStatus::UnknownRace:
        return ReportDayFailure(out, TDayFailure::UnknownRace, entry, race.message,
                                options.race.value_or(""));
    }
    const files::TTextTable table = *options.table == "card" ? race::CardTable(*day, race.slot)
                                    : *options.table == "results"
                                        ? race::ResultsTable(*day, race.slot)
                                        : analysis::TimeTablesTable(*day, race.slot);
    const files::TCsvEncoding encoding = options.csv.value_or("utf8") == "sjis"
                                             ? files::TCsvEncoding::ShiftJis
                                             : files::TCsvEncoding::Utf8Bom;
    if (!options.outFile || *options.outFile == "-") {
        const std::string bytes = files::CsvText(table, encoding);
#if defined(_WIN32)
        // The CSV's own CR LF, not a console's translation of each LF.
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
            std::fflush(stdout) != 0) {
            out.Note(stderr, "tomberly-cli: the CSV text could not be written to the standard "
                             "output");
            return kOutputFailed;
        }
        return kDone;
    }
    const fs::path file = PathOfArgument(*options.outFile);
    if (const std::error_code error = files::WriteCsvFile(file, table, encoding)) {
        out.Line(stderr,
                 Sjis::FromUtf8("tomberly-cli: ") + files::CsvWriteFailureText(file, error));
        return kOutputFailed;
    }
    out.Note(stderr, "tomberly-cli: " + std::to_string(table.rows.size()) +
                         (table.rows.size() == 1 ? " row" : " rows") + " written to " +
                         PathText(file));
    return kDone;
}

int ExitOf(const acquisition::TAcquisitionResult& result) {
    switch (result.end) {
    case acquisition::TAcquisitionEnd::Completed:
        if (result.closeCode != 0) {
            return kJVLinkFailed;
        }
        return result.loop.refused.Total() > 0 ? kRefused : kDone;
    case acquisition::TAcquisitionEnd::NoNewData:
        return result.closeCode == 0 ? kDone : kJVLinkFailed;
    case acquisition::TAcquisitionEnd::StoreBusy:
        return kStoreBusy;
    case acquisition::TAcquisitionEnd::LockFailed:
    case acquisition::TAcquisitionEnd::SettingsUnreadable:
        return kRootFailed;
    case acquisition::TAcquisitionEnd::OpenError:
    case acquisition::TAcquisitionEnd::StatusError:
    case acquisition::TAcquisitionEnd::CallError:
        return kJVLinkFailed;
    case acquisition::TAcquisitionEnd::Cancelled:
        return kInterrupted;
    case acquisition::TAcquisitionEnd::ReadError:
        return kReadFailed;
    case acquisition::TAcquisitionEnd::StoreError:
        return kStoreFailed;
    }
    return kJVLinkFailed;
}

int Acquire(const TOptions& options, const TOutput& out) {
    const auto root = DataRoot(options, out);
    if (!root) {
        return kRootFailed;
    }
    // A settings file that is there but cannot be read would read as no LastTime at all.
    if (const auto failure = acquisition::SettingsReadFailure(*root / kSettingsFile)) {
        out.Line(stderr, *failure);
        return kRootFailed;
    }
    if (const store::TStoreFoldersResult folders = store::CreateStoreFolders(*root); !folders) {
        out.Line(stderr, folders.message);
        return kRootFailed;
    }
    // The settings file, when its path can be written as the settings component names it.
    std::optional<settings::TIniGT> settings;
    if (auto name = files::TryTextFromPath(*root / kSettingsFile)) {
        settings.emplace(*name);
    }
    std::optional<store::TLocalDateTime> stored;
    if (settings) {
        const std::string text =
            settings->ReadText(acquisition::kLastTimeSection, acquisition::kLastTimeKey, "");
        if (!Sjis::TrimBlanks(text).empty()) {
            stored = acquisition::ParseLastTime(text);
            if (!stored && !options.from && !options.setup) {
                out.Note(stderr, "tomberly-cli: LastTime in " + PathText(*root / kSettingsFile) +
                                     " is not a date and time (" + Printable(text) +
                                     "); correct it or give --from");
                return kRootFailed;
            }
        }
    } else if (!options.from && !options.setup) {
        out.Note(stderr, "tomberly-cli: the settings file's path cannot be written in "
                         "Shift-JIS; give --from");
        return kRootFailed;
    }
    std::string from;
    if (options.from) {
        from = *options.from;
    } else if (options.setup) {
        from = acquisition::FromTimeText(acquisition::SetupStartTime(store::LocalNow()));
    } else if (stored) {
        from = acquisition::FromTimeText(*stored);
    } else {
        from = acquisition::FromTimeText(acquisition::DefaultStartTime(store::LocalNow()));
    }

    std::unique_ptr<jvlink::IJVLink> link = jvlink::CreateJVLink(jvlink::kJVLinkProgId);
    if (!link) {
        out.Note(stderr,
                 "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。");
        return kNoJVLink;
    }
    TConsoleSink sink(out, options.verbose);
    // The store's index follows what the run writes.
    archive::TIndexFollower follower(*root);
    acquisition::TAcquisitionResult result;
    try {
        if (const std::int32_t code = link->JVInit(kSid); code != 0) {
            out.Line(stderr, KeibaFunc::JVErrorText("JVInit", code));
            return kNoJVLink;
        }
        const std::string version = link->JVLinkVersion();
        if (version < "0490") {
            out.Note(stderr, "tomberly-cli: JV-Link " + Sjis::ToUtf8(version) +
                                 " is older than 0490, which the program needs");
        }
        out.Note(stderr, std::string("tomberly-cli: ") + (options.setup ? "setup " : "") + "from " +
                             from + " into " + PathText(*root));

        std::signal(SIGINT, OnInterrupt);
        std::signal(SIGTERM, OnInterrupt);
        acquisition::TAcquisitionRequest request;
        request.fromTime = from;
        request.root = *root;
        request.loop.follower = &follower;
        if (options.setup) {
            request.dataspec = std::string(acquisition::kSetupDataSpec);
            request.option = acquisition::kSetupOption;
        }
        result =
            acquisition::RunAcquisition(*link, request, store::SystemClock(), interrupted, sink);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
    } catch (const jvlink::JVLinkCallError& error) {
        out.Note(stderr, std::string("tomberly-cli: ") + error.what());
        return kJVLinkFailed;
    }

    if (result.loopRan) {
        const auto& loop = result.loop;
        std::string summary = "tomberly-cli: " + std::to_string(loop.records) + " records read, " +
                              std::to_string(loop.stored) + " stored, " +
                              std::to_string(loop.dropped) + " not for the store, " +
                              std::to_string(loop.refused.Total()) + " refused";
        if (loop.slotless > 0) {
            summary += ", " + std::to_string(loop.slotless) + " runners without a slot";
        }
        if (loop.lost > 0) {
            summary += ", " + std::to_string(loop.lost) + " not written";
        }
        out.Note(stderr, summary);
        if (!loop.followerNote.empty()) {
            out.Line(stderr, loop.followerNote);
        }
        if (!loop.refusedFiles.empty()) {
            out.Note(stderr, "tomberly-cli: refused records came from or were kept out of:");
            for (const std::string& file : loop.refusedFiles) {
                out.Line(stderr, "  " + file);
            }
        }
    }
    if (result.end == acquisition::TAcquisitionEnd::Cancelled && result.loopRan &&
        result.loop.Completed()) {
        out.Note(stderr, "tomberly-cli: interrupted while the last files were written; they "
                         "were written whole, and the next run reads the same data again");
    }

    if (result.nextStartTime && settings) {
        const auto next = acquisition::ParseLastTime(*result.nextStartTime);
        const bool later = !stored || !next ||
                           acquisition::FromTimeText(*next) > acquisition::FromTimeText(*stored);
        if (later) {
            const settings::TIniGTStatus written = settings->WriteText(
                acquisition::kLastTimeSection, acquisition::kLastTimeKey, *result.nextStartTime);
            if (!written) {
                out.Line(stderr, written.message);
                return kRootFailed;
            }
            out.Note(stderr, "tomberly-cli: next start " + *result.nextStartTime);
        }
    }
    return ExitOf(result);
}

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    const auto error = Parse(Arguments(argc, argv), options);
    const TOutput out(options.sjis);
    if (options.help) {
        std::fputs(kUsageText, stdout);
        return kDone;
    }
    if (error) {
        std::fprintf(stderr, "tomberly-cli: %s\n\n%s", error->c_str(), kUsageText);
        return kUsage;
    }
    if (options.command == "dates") {
        return Dates(options, out);
    }
    if (options.command == "show") {
        return Show(options, out);
    }
    if (options.command == "print") {
        return Print(options, out);
    }
    if (options.command == "export") {
        return Export(options, out);
    }
    if (options.command == "index") {
        return Index(options, out);
    }
    if (options.command == "search") {
        return Search(options, out);
    }
    if (options.command == "stats") {
        return Stats(options, out);
    }
    return Acquire(options, out);
}
