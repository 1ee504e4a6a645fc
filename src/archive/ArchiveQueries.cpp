#include "archive/ArchiveQueries.h"

#include "archive/NameKey.h"
#include "archive/StoreIndex.h"
#include "jvdata/KeibaFunc.h"
#include "jvdata/Records.h"
#include "jvdata/SjisText.h"

#include <cstdio>
#include <map>

namespace archive {

namespace {

std::string Sj(std::string_view utf8) {
    return Sjis::FromUtf8(utf8);
}

std::vector<std::string> Headings(std::initializer_list<std::string_view> utf8) {
    std::vector<std::string> columns;
    for (std::string_view text : utf8) {
        columns.push_back(Sj(text));
    }
    return columns;
}

// The racecourse's name of four bytes ("東京"); the code itself when the table lacks it.
std::string CourseText(std::string_view code) {
    const auto name = KeibaFunc::CourseName(code, 2);
    const std::string_view shown = name ? Sjis::TrimBlanks(*name) : std::string_view();
    return shown.empty() ? std::string(code) : std::string(shown);
}

// The going of the race's own surface (a jump race runs on turf).
std::string GoingText(std::string_view track, std::string_view turf, std::string_view dirt) {
    if (track.empty()) {
        return {};
    }
    const bool onDirt = jvdata::SurfaceOfTrack(track) == jvdata::TSurface::Dirt;
    const auto going = KeibaFunc::GoingName(onDirt ? dirt : turf, 0);
    return going ? *going : std::string();
}

std::string Number(std::int64_t value) {
    return value > 0 ? std::to_string(value) : std::string();
}

// The runs of the subjects a condition on the runs table (alias r) chooses, newest first.
constexpr std::string_view kRunColumns =
    "SELECT r.race, r.horse_num, r.horse_name, r.jockey_name, r.trainer_name, r.finish, "
    "r.abnormality, r.popularity, r.time, ra.name, ra.distance, ra.track, ra.turf_going, "
    "ra.dirt_going, ra.starters FROM runs r LEFT JOIN races ra ON ra.race = r.race WHERE ";

// Which subjects' runs a name part finds, as a condition on r.
std::string_view SearchCondition(TSubjectKind kind) {
    switch (kind) {
    case TSubjectKind::Horse:
        return "r.horse IN (SELECT code FROM horses WHERE instr(key, ?1) > 0 UNION SELECT horse "
               "FROM masters WHERE instr(key, ?1) > 0 OR instr(kana_key, ?1) > 0)";
    case TSubjectKind::Jockey:
        return "(r.horse, r.race) IN (SELECT horse, race FROM jockey_runs WHERE jockey IN "
               "(SELECT code FROM jockeys WHERE instr(key, ?1) > 0))";
    case TSubjectKind::Trainer:
        return "(r.horse, r.race) IN (SELECT horse, race FROM trainer_runs WHERE trainer IN "
               "(SELECT code FROM trainers WHERE instr(key, ?1) > 0))";
    case TSubjectKind::Sire:
        return "r.horse IN (SELECT horse FROM masters WHERE sire IN (SELECT code FROM sires WHERE "
               "instr(key, ?1) > 0))";
    case TSubjectKind::Course:
        break;
    }
    return {};
}

} // namespace

std::string SubjectKindName(TSubjectKind kind) {
    switch (kind) {
    case TSubjectKind::Horse:
        return Sj("馬");
    case TSubjectKind::Jockey:
        return Sj("騎手");
    case TSubjectKind::Trainer:
        return Sj("調教師");
    case TSubjectKind::Sire:
        return Sj("種牡馬");
    case TSubjectKind::Course:
        return Sj("コース");
    }
    return {};
}

TSearchResult SearchRuns(const TStoreIndex& index, TSubjectKind kind, std::string_view namePart) {
    TSearchResult result;
    result.table.columns = Headings({"日付", "競馬場", "R", "レース名", "コース", "馬場", "頭数",
                                     "馬番", "馬名", "騎手", "調教師", "人気", "着順", "タイム"});
    const std::string key = NameKey(namePart);
    if (kind == TSubjectKind::Course) {
        result.message = Sj("コースは成績だけを表示できます。");
        return result;
    }
    if (key.empty()) {
        result.message = Sj("名前の一部を入力してください。");
        return result;
    }
    try {
        sql::TStatement select(index.Database(), std::string(kRunColumns) +
                                                     std::string(SearchCondition(kind)) +
                                                     " ORDER BY r.race DESC, r.horse_num LIMIT ?2");
        select.Bind(1, key).Bind(2, static_cast<std::int64_t>(kSearchRowLimit + 1));
        while (select.Step()) {
            if (result.places.size() == kSearchRowLimit) {
                result.truncated = true;
                break;
            }
            const std::string race = select.Text(0);
            // The race key: yyyymmdd, racecourse, meeting, day of the meeting, race number.
            TRunPlace place;
            place.date = race.substr(0, 8);
            place.course = race.substr(8, 2);
            place.race = jvdata::LenientInt(race.substr(std::min<std::size_t>(race.size(), 14)));
            place.horseNum = static_cast<int>(select.Int(1));
            const std::string track = select.Text(11);
            std::string finish = Number(select.Int(5));
            const std::string abnormality = select.Text(6);
            if (!abnormality.empty() && abnormality != "0") {
                finish = std::string(Sjis::TrimBlanks(
                    KeibaFunc::StripWideSpaces(KeibaFunc::AbnormalityName(abnormality))));
            }
            std::string course;
            if (!track.empty()) {
                course = KeibaFunc::TrackShortName(track) + Number(select.Int(10));
            }
            std::vector<std::string> row = {
                place.date.substr(0, 4) + "/" + place.date.substr(4, 2) + "/" +
                    place.date.substr(6, 2),
                CourseText(place.course),
                std::to_string(place.race),
                select.Text(9),
                course,
                GoingText(track, select.Text(12), select.Text(13)),
                Number(select.Int(14)),
                Number(place.horseNum),
                select.Text(2),
                select.Text(3),
                select.Text(4),
                Number(select.Int(7)),
                finish,
                std::string(Sjis::TrimBlanks(KeibaFunc::RunTimeText(select.Text(8)))),
            };
            result.table.rows.push_back(std::move(row));
            result.places.push_back(std::move(place));
        }
    } catch (const sql::TSqlError& error) {
        result.message = Sj("索引を読めません（") + Sj(error.what()) + Sj("）。");
        return result;
    }
    if (result.places.empty()) {
        result.message = Sj("該当する出走はありません。");
    }
    return result;
}

TSubjectList FindSubjects(const TStoreIndex& index, TSubjectKind kind, std::string_view namePart) {
    TSubjectList list;
    list.table.columns = Headings({"コード", "名前", "出走数"});
    const std::string key = NameKey(namePart);
    std::string sql;
    switch (kind) {
    case TSubjectKind::Horse:
        sql = "SELECT c.code, coalesce(h.name, m.name), (SELECT count(*) FROM runs r WHERE "
              "r.horse = c.code AND r.abnormality NOT IN ('1', '2', '3')) AS n FROM (SELECT code "
              "FROM horses WHERE instr(key, ?1) > 0 "
              "UNION SELECT horse FROM masters WHERE instr(key, ?1) > 0 OR instr(kana_key, ?1) > "
              "0) AS c LEFT JOIN horses h ON h.code = c.code LEFT JOIN masters m ON m.horse = "
              "c.code";
        break;
    case TSubjectKind::Jockey:
        sql = "SELECT code, name, (SELECT count(*) FROM jockey_runs r WHERE r.jockey = j.code AND "
              "r.abnormality NOT IN ('1', '2', '3')) AS n FROM "
              "jockeys j WHERE instr(key, ?1) > 0";
        break;
    case TSubjectKind::Trainer:
        sql = "SELECT code, name, (SELECT count(*) FROM trainer_runs r WHERE r.trainer = t.code "
              "AND "
              "r.abnormality NOT IN ('1', '2', '3')) AS n "
              "FROM trainers t WHERE instr(key, ?1) > 0";
        break;
    case TSubjectKind::Sire:
        sql = "SELECT code, name, (SELECT count(*) FROM runs r JOIN masters m ON m.horse = "
              "r.horse WHERE m.sire = s.code AND r.abnormality NOT IN ('1', '2', '3')) AS n FROM "
              "sires s WHERE instr(key, ?1) > 0";
        break;
    case TSubjectKind::Course:
        sql = "SELECT course, '', count(*) AS n FROM races ra JOIN race_runs r ON r.race = ra.race "
              "WHERE r.abnormality NOT IN ('1', '2', '3') GROUP BY course";
        break;
    }
    sql += " ORDER BY n DESC, 2, 1 LIMIT 1000";
    try {
        sql::TStatement select(index.Database(), sql);
        if (kind != TSubjectKind::Course) {
            if (key.empty()) {
                return list;
            }
            select.Bind(1, key);
        }
        while (select.Step()) {
            const std::string code = select.Text(0);
            std::string name = select.Text(1);
            if (kind == TSubjectKind::Course) {
                name = CourseText(code);
                if (!key.empty() && NameKey(name).find(key) == std::string::npos) {
                    continue;
                }
            }
            list.table.rows.push_back({code, name, std::to_string(select.Int(2))});
            list.codes.push_back(code);
        }
    } catch (const sql::TSqlError&) {
        list.table.rows.clear();
        list.codes.clear();
    }
    return list;
}

namespace {

// The counts of one row of statistics.
struct TTally {
    std::int64_t runs = 0;
    std::int64_t places[3] = {0, 0, 0}; // 1st, 2nd, 3rd
    std::int64_t winReturn = 0;         // yen paid back on 100-yen win tickets
    std::int64_t placeReturn = 0;       // yen paid back on 100-yen place tickets

    void Add(int finish, std::int64_t win, std::int64_t place) {
        ++runs;
        if (finish >= 1 && finish <= 3) {
            ++places[finish - 1];
        }
        winReturn += win;
        placeReturn += place;
    }
};

std::string Percent(std::int64_t part, std::int64_t whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", whole > 0 ? 100.0 * part / whole : 0.0);
    return text;
}

std::string PerHundred(std::int64_t paid, std::int64_t runs) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", runs > 0 ? static_cast<double>(paid) / runs : 0.0);
    return text;
}

std::vector<std::string> TallyRow(const std::string& label, const TTally& t) {
    const std::int64_t top2 = t.places[0] + t.places[1];
    const std::int64_t top3 = top2 + t.places[2];
    return {label,
            std::to_string(t.runs),
            std::to_string(t.places[0]),
            std::to_string(t.places[1]),
            std::to_string(t.places[2]),
            std::to_string(t.runs - top3),
            Percent(t.places[0], t.runs),
            Percent(top2, t.runs),
            Percent(top3, t.runs),
            PerHundred(t.winReturn, t.runs),
            PerHundred(t.placeReturn, t.runs)};
}

// One split: its rows in the order of their keys.
struct TSplit {
    std::string title;
    std::map<std::string, std::pair<std::string, TTally>> rows; // sort key -> label, tally
    TTally& Row(const std::string& sortKey, const std::string& label) {
        auto& row = rows[sortKey];
        row.first = label;
        return row.second;
    }
};

// Where the runs of the statistics come from: the run tables by jockey, trainer or race keep
// what they count, in the order that finds a subject's runs as one range.
std::string_view StatsRuns(TSubjectKind kind) {
    switch (kind) {
    case TSubjectKind::Jockey:
        return "FROM jockey_runs r LEFT JOIN races ra ON ra.race = r.race WHERE ";
    case TSubjectKind::Trainer:
        return "FROM trainer_runs r LEFT JOIN races ra ON ra.race = r.race WHERE ";
    case TSubjectKind::Course:
        return "FROM races ra JOIN race_runs r ON r.race = ra.race WHERE ";
    case TSubjectKind::Horse:
    case TSubjectKind::Sire:
        break;
    }
    return "FROM runs r LEFT JOIN races ra ON ra.race = r.race WHERE ";
}

std::string_view StatsCondition(TSubjectKind kind) {
    switch (kind) {
    case TSubjectKind::Horse:
        return "r.horse = ?1";
    case TSubjectKind::Jockey:
        return "r.jockey = ?1";
    case TSubjectKind::Trainer:
        return "r.trainer = ?1";
    case TSubjectKind::Sire:
        return "r.horse IN (SELECT horse FROM masters WHERE sire = ?1)";
    case TSubjectKind::Course:
        return "ra.course = ?1 AND (?2 = 0 OR ra.distance = ?2)";
    }
    return {};
}

// Whose statistics, as the heading says it.
std::string SubjectText(const TStoreIndex& index, const TStatsRequest& request) {
    std::string name;
    std::string_view sql;
    switch (request.kind) {
    case TSubjectKind::Horse:
        sql = "SELECT coalesce((SELECT name FROM horses WHERE code = ?1), (SELECT name FROM "
              "masters WHERE horse = ?1))";
        break;
    case TSubjectKind::Jockey:
        sql = "SELECT name FROM jockeys WHERE code = ?1";
        break;
    case TSubjectKind::Trainer:
        sql = "SELECT name FROM trainers WHERE code = ?1";
        break;
    case TSubjectKind::Sire:
        sql = "SELECT name FROM sires WHERE code = ?1";
        break;
    case TSubjectKind::Course:
        name = CourseText(request.course) + " " +
               (request.distance > 0 ? std::to_string(request.distance) + "m" : Sj("全距離"));
        break;
    }
    if (!sql.empty()) {
        sql::TStatement select(index.Database(), sql);
        select.Bind(1, request.code);
        if (select.Step()) {
            name = select.Text(0);
        }
        if (name.empty()) {
            name = request.code;
        }
    }
    return SubjectKindName(request.kind) + Sj("　") + name;
}

} // namespace

TStatsResult Statistics(const TStoreIndex& index, const TStatsRequest& request) {
    TStatsResult result;
    const std::string unknown = Sj("不明");
    TSplit whole{Sj("全体"), {}};
    TSplit surface{Sj("芝・ダート別"), {}};
    TSplit distance{Sj("距離別"), {}};
    TSplit going{Sj("馬場状態別"), {}};
    TSplit course{Sj("競馬場別"), {}};
    TSplit frame{Sj("枠番別"), {}};
    try {
        result.subject = SubjectText(index, request);
        const bool byCourse = request.kind == TSubjectKind::Course;
        const std::string sql =
            std::string("SELECT r.finish, r.abnormality, ra.track, ra.distance, ra.turf_going, "
                        "ra.dirt_going, substr(r.race, 9, 2), (SELECT payout FROM payoffs p "
                        "WHERE p.race = r.race AND p.kind = 1 AND p.horse = r.horse_num), "
                        "(SELECT payout FROM payoffs p WHERE p.race = r.race AND p.kind = 2 AND "
                        "p.horse = r.horse_num), r.frame ") +
            std::string(StatsRuns(request.kind)) + std::string(StatsCondition(request.kind));
        sql::TStatement select(index.Database(), sql);
        if (byCourse) {
            select.Bind(1, request.course).Bind(2, request.distance);
        } else {
            select.Bind(1, request.code);
        }
        while (select.Step()) {
            const std::string abnormality = select.Text(1);
            // A horse scratched or excluded before the start did not run; its tickets were
            // refunded.
            if (abnormality == "1" || abnormality == "2" || abnormality == "3") {
                continue;
            }
            const int finish = static_cast<int>(select.Int(0));
            const std::int64_t win = select.Int(7);
            const std::int64_t place = select.Int(8);
            const auto add = [&](TSplit& split, const std::string& key, const std::string& label) {
                split.Row(key, label).Add(finish, win, place);
            };
            add(whole, "", Sj("全体"));
            const std::string track = select.Text(2);
            if (track.empty()) {
                add(surface, "9", unknown);
            } else {
                switch (jvdata::SurfaceOfTrack(track)) {
                case jvdata::TSurface::Turf:
                    add(surface, "1", Sj("芝"));
                    break;
                case jvdata::TSurface::Dirt:
                    add(surface, "2", Sj("ダート"));
                    break;
                case jvdata::TSurface::Other:
                    add(surface, "3", Sj("障害"));
                    break;
                }
            }
            const std::int64_t metres = select.Int(3);
            if (metres <= 0) {
                add(distance, "9", unknown);
            } else if (metres <= 1600) {
                add(distance, "1", Sj("～1600m"));
            } else if (metres <= 2200) {
                add(distance, "2", Sj("1601～2200m"));
            } else {
                add(distance, "3", Sj("2201m～"));
            }
            const std::string goingText = GoingText(track, select.Text(4), select.Text(5));
            const std::string goingCode = track.empty() ? std::string()
                                          : jvdata::SurfaceOfTrack(track) == jvdata::TSurface::Dirt
                                              ? select.Text(5)
                                              : select.Text(4);
            add(going, goingText.empty() ? "9" : goingCode,
                goingText.empty() ? unknown : goingText);
            const std::string courseCode = select.Text(6);
            add(course, courseCode, CourseText(courseCode));
            const std::int64_t frameNumber = select.Int(9);
            add(frame, frameNumber > 0 ? std::to_string(frameNumber) : "9",
                frameNumber > 0 ? std::to_string(frameNumber) + Sj("枠") : unknown);
        }
    } catch (const sql::TSqlError& error) {
        result.message = Sj("索引を読めません（") + Sj(error.what()) + Sj("）。");
        return result;
    }
    if (whole.rows.empty()) {
        result.message = Sj("成績がありません。");
        return result;
    }
    const std::vector<std::string> columns =
        Headings({"区分", "出走", "1着", "2着", "3着", "着外", "勝率", "連対率", "複勝率",
                  "単勝回収", "複勝回収"});
    std::vector<TSplit*> splits = {&whole, &surface, &distance, &going, &course};
    if (request.kind == TSubjectKind::Course) {
        splits.push_back(&frame);
    }
    for (TSplit* split : splits) {
        TStatsSection section;
        section.title = split->title;
        section.table.columns = columns;
        for (const auto& [key, row] : split->rows) {
            section.table.rows.push_back(TallyRow(row.first, row.second));
        }
        result.sections.push_back(std::move(section));
    }
    return result;
}

files::TTextTable StatsTable(const TStatsResult& stats) {
    files::TTextTable table;
    for (const TStatsSection& section : stats.sections) {
        if (table.columns.empty()) {
            table.columns.push_back(Sj("分類"));
            table.columns.insert(table.columns.end(), section.table.columns.begin(),
                                 section.table.columns.end());
        }
        for (const std::vector<std::string>& row : section.table.rows) {
            std::vector<std::string> cells = {section.title};
            cells.insert(cells.end(), row.begin(), row.end());
            table.rows.push_back(std::move(cells));
        }
    }
    return table;
}

std::vector<std::string> TableLines(const files::TTextTable& table) {
    std::vector<std::string> lines;
    const auto join = [](const std::vector<std::string>& cells) {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            line += (i > 0 ? "\t" : "") + cells[i];
        }
        return line;
    };
    lines.push_back(join(table.columns));
    for (const std::vector<std::string>& row : table.rows) {
        lines.push_back(join(row));
    }
    return lines;
}

} // namespace archive
