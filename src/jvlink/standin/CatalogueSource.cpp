#include "jvlink/standin/CatalogueSource.h"

#include "jvlink/standin/FileIo.h"

#include <cstdio>
#include <ctime>
#include <memory>

namespace standin {

std::string LocalDateToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[48];
    std::snprintf(text, sizeof text, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return text;
}

TCatalogueProvider SettingsCatalogueProvider() {
    struct TMade {
        TSeasonOptions options;
        TCatalogue catalogue;
        bool made = false;
    };
    auto made = std::make_shared<TMade>();
    return [made](const TStandInSettings& settings) -> TCatalogueRead {
        if (settings.source == TDataSource::Folder) {
            if (settings.dataFolder.empty()) {
                return {{}, "no data folder is set"};
            }
            return ReadCatalogueFolder(PathFromUtf8(settings.dataFolder));
        }
        TSeasonOptions options;
        options.seed = settings.seed;
        options.today = LocalDateToday();
        options.weeks = settings.seasonWeeks;
        if (!made->made || made->options.seed != options.seed ||
            made->options.today != options.today || made->options.weeks != options.weeks) {
            made->catalogue = GenerateSeason(options);
            made->options = options;
            made->made = true;
        }
        return {made->catalogue, {}};
    };
}

} // namespace standin
