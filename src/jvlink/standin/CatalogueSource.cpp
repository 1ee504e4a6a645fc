#include "jvlink/standin/CatalogueSource.h"

#include "jvlink/standin/FileIo.h"

#include <memory>

namespace standin {

std::string LocalDateToday() {
    return LocalTimestampNow().substr(0, 8);
}

TCatalogueProvider SettingsCatalogueProvider(TServiceClock clock) {
    if (!clock) {
        clock = LocalTimestampNow;
    }
    struct TMade {
        TSeasonOptions options;
        TCatalogue catalogue;
        bool made = false;
    };
    auto made = std::make_shared<TMade>();
    return [made, clock](const TStandInSettings& settings) -> TCatalogueRead {
        if (settings.source == TDataSource::Folder) {
            if (settings.dataFolder.empty()) {
                return {{}, "no data folder is set"};
            }
            return ReadCatalogueFolder(PathFromUtf8(settings.dataFolder));
        }
        TSeasonOptions options;
        options.seed = settings.seed;
        options.today = clock().substr(0, 8);
        options.weeks = settings.seasonWeeks;
        options.setupYears = settings.setupYears;
        if (!made->made || made->options.seed != options.seed ||
            made->options.today != options.today || made->options.weeks != options.weeks ||
            made->options.setupYears != options.setupYears) {
            made->catalogue = GenerateSeason(options);
            made->options = options;
            made->made = true;
        }
        return {made->catalogue, {}};
    };
}

} // namespace standin
