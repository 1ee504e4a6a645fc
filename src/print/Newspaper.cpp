#include "print/Newspaper.h"

#include "jvdata/RecordLayout.h"

namespace print {

std::vector<int> NewspaperSlots(const race::TRaceDayData& day) {
    std::vector<int> slots;
    for (int r = 0; r < day.RaceCount && r < race::kRaceSlots; ++r) {
        const auto slot = static_cast<std::size_t>(r);
        const int runners = day.Races[slot].Int(882, 883);
        const int firstHorse = day.Runners[slot][0].Int(29, 30);
        if (runners >= 1 && firstHorse >= 1) {
            slots.push_back(r);
        }
    }
    return slots;
}

std::vector<int> DrawNewspaper(const race::TRaceDayData& day, TPageRecorder& pages) {
    pages.BeginDoc();
    const std::vector<int> slots = NewspaperSlots(day);
    for (std::size_t page = 0; page < slots.size(); ++page) {
        if (page > 0) {
            pages.NewPage();
        }
        DrawRacePage(day, slots[page], pages);
    }
    return slots;
}

void DrawRacePage(const race::TRaceDayData& day, int r, IPageCanvas& canvas) {
    (void)day;
    (void)r;
    (void)canvas;
}

} // namespace print
