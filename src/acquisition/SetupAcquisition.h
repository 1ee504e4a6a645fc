// The setup acquisition: the first acquisition into an empty store, which asks JV-Link for all
// accumulated data from a start date far enough back for the horse pages' five earlier runs,
// their races, the time tables and the charts.
//
// An ordinary acquisition ("RACERCVN", option 2, from the last file timestamp, by default 8 days
// back) brings only the last weekend's results: every runner would show no earlier run. So while
// the store holds no race day and no result file, the acquisition window proposes a setup from a
// year back (the user may change the date or decline), and the command-line tool runs one with
// --setup. A setup asks for the race data and the accumulated master data (horse masters and
// course records) with JVOpen's setup option; the component fetches its files first and the run
// then goes as any other. Once a setup has read and stored everything, the next start time is its
// last file timestamp, so the ordinary acquisition carries on from where it ended.
#pragma once

#include "store/LocalClock.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace acquisition {

// The data a setup asks for: the accumulated race data and master data.
inline constexpr std::string_view kSetupDataSpec = "RACEDIFN";
// JVOpen's setup option: all data published after the from-time, files fetched first (the
// component may show its own setup dialog; cancelling it gives -2).
inline constexpr std::int32_t kSetupOption = 3;

// True when the store under root holds no race-day file (DATA\*.jvRA, .jvSEr, .jvHR) and no
// result file (SEIR\yyyy\*.jvSERA): nothing has been acquired yet. A folder that is missing
// counts as empty; one that cannot be listed does not (the store may well hold data).
bool StoreIsEmpty(const std::filesystem::path& root);

// The start time a setup proposes: midnight of the same date a year before now (28 February
// for a 29 February).
store::TLocalDateTime SetupStartTime(const store::TLocalDateTime& now);

// ---- Texts (CP932) ------------------------------------------------------------------------

// The check box that chooses the setup: "セットアップデータを取込む(&S)".
std::string SetupChoiceText();
// The sentence under it, why a setup is proposed: "データがまだ無いため、前走５走分の成績と
// 馬情報がそろうよう、１年前からのセットアップデータの取込みをお勧めします。"
std::string SetupProposalText();

} // namespace acquisition
