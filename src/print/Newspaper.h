// The printed newspaper: one A4 page per race of the loaded race day, drawn on the page canvas
// in tenths of a millimetre. Each page holds the race header block and the table of runners
// with pedigree, money, connections, career counts and the last five runs.
#pragma once

#include "print/PageCanvas.h"
#include "race/TRaceDayData.h"

#include <vector>

namespace print {

// Which race slots get a page: a slot whose registered runner count (RA 882-883) or whose
// first runner's horse number (SE 29-30) is below 1 gets none. Slot indexes in order.
std::vector<int> NewspaperSlots(const race::TRaceDayData& day);

// Draws the newspaper of the day: BeginDoc, then one page per slot of NewspaperSlots (NewPage
// before every page but the first). Returns the slots drawn, page by page. A day without such
// a slot leaves the one blank page that BeginDoc opens.
std::vector<int> DrawNewspaper(const race::TRaceDayData& day, TPageRecorder& pages);

// Draws the page of race slot r (its header block, the grid, the runner rows and the header
// labels) on the canvas as it stands.
void DrawRacePage(const race::TRaceDayData& day, int r, IPageCanvas& canvas);

} // namespace print
