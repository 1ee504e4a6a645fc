// Where the plug-in's catalogue comes from: the built-in season or a catalogue folder.
#pragma once

#include "jvlink/standin/StandInJVLink.h"

#include <string>

namespace standin {

// Today's local date as "yyyymmdd".
std::string LocalDateToday();

// The catalogue the settings name: the built-in season for seed, weeks and the date of the
// clock's today (made once and kept while those stay the same), or the catalogue folder read
// afresh each time. Without a clock, the machine's local time.
TCatalogueProvider SettingsCatalogueProvider(TServiceClock clock = {});

} // namespace standin
