// TEMPORARY: a small fixed season standing in for standin::GenerateSeason until the season
// generator is part of keiba_standin. The stand-in plug-in resolves the symbol from this test
// executable (ENABLE_EXPORTS in tests/CMakeLists.txt). Delete this file and that block when
// the generator lands.
#include "jvlink/standin/Catalogue.h"

namespace standin {

TCatalogue GenerateSeason(const TSeasonOptions& options) {
    TCatalogue catalogue;
    std::string record = "RA1" + options.today;
    record.resize(1270, ' ');
    catalogue.files.push_back(
        {"STUBRACE" + options.today + ".dat", "RACE", options.today + "090000", {record + "\r\n"}});
    return catalogue;
}

} // namespace standin
