#include "analysis/TimeTableExport.h"

#include "jvdata/SjisText.h"
#include "race/RaceTables.h"

namespace analysis {

files::TTextTable TimeTablesTable(const TTimeTables& tables) {
    files::TTextTable table;
    for (const char* heading :
         {"表", "印", "枠番", "馬番", "前１走", "前２走", "前３走", "前４走", "前５走", "平均値"}) {
        table.columns.push_back(Sjis::FromUtf8(heading));
    }
    const std::pair<const TTableRows*, std::string> parts[] = {
        {&tables.times, Sjis::FromUtf8("走破ﾀｲﾑ計算表")},
        {&tables.last3f, Sjis::FromUtf8("上3ﾊﾛﾝﾀｲﾑ計算表")}};
    for (const auto& [rows, name] : parts) {
        for (const TTableRow& cells : *rows) {
            std::vector<std::string>& row = table.rows.emplace_back();
            row.push_back(name);
            for (const std::string& cell : cells) {
                row.push_back(race::TableCellText(cell));
            }
        }
    }
    return table;
}

files::TTextTable TimeTablesTable(const race::TRaceDayData& day, int raceSlot) {
    TTimeTables tables;
    BuildTimeTables(tables, day, raceSlot);
    return TimeTablesTable(tables);
}

} // namespace analysis
