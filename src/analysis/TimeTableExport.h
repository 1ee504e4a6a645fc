// The two time tables of a race as one text table for export: one heading line, then the rows
// of "走破ﾀｲﾑ計算表" and those of "上3ﾊﾛﾝﾀｲﾑ計算表", each row led by the name of its table.
#pragma once

#include "analysis/TimeTables.h"
#include "files/TextTable.h"

namespace analysis {

// Columns: 表, then the grids' nine in the order of their hint: 印 枠番 馬番 前１走 前２走 前３走
// 前４走 前５走 平均値. The rows of tables.times ("走破ﾀｲﾑ計算表") in horse-number order, then
// those of tables.last3f ("上3ﾊﾛﾝﾀｲﾑ計算表"); the cells are the grids' texts as table cells
// (race::TableCellText).
files::TTextTable TimeTablesTable(const TTimeTables& tables);
// The same of race slot s of the day, its tables built as a race opening builds them.
files::TTextTable TimeTablesTable(const race::TRaceDayData& day, int raceSlot);

} // namespace analysis
