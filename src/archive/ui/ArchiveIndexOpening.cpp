#include "archive/ui/ArchiveIndexOpening.h"

#include "archive/StoreIndex.h"
#include "jvdata/SjisText.h"

#include <exception>

namespace archive::ui {

TIndexOpening OpenArchiveIndex(const std::filesystem::path& dataRoot) {
    TIndexOpening opening;
    try {
        TIndexOpenResult result = OpenStoreIndex(dataRoot);
        opening.index = std::move(result.index);
        opening.message = std::move(result.message);
    } catch (const std::exception& failure) {
        // Not even an index in memory: the store itself could not be read.
        opening.index.reset();
        opening.message = Sjis::FromUtf8("索引を作れないので、検索と成績統計は使えません（") +
                          Sjis::FromUtf8(failure.what()) + Sjis::FromUtf8("）。");
    }
    if (!opening.index && opening.message.empty()) {
        opening.message = Sjis::FromUtf8("蓄積データを読めないので、索引を作れません。");
    }
    return opening;
}

} // namespace archive::ui
