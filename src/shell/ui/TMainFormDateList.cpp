// The main window's date list (DateCombo): one entry per race day and racecourse in the store.
#include "jvdata/SjisText.h"
#include "race/DateList.h"
#include "shell/ShellTexts.h"
#include "shell/ui/TMainForm.h"
#include "store/StoreLayout.h"

#include <algorithm>

#include <QSignalBlocker>

namespace shell::ui {

void TMainForm::MakeDataListBtnClick() {
    const race::TDateListResult list = race::MakeDateList(dataRoot_);
    {
        // Rebuilding the list is no choice of a race day.
        const QSignalBlocker quiet(dateCombo_);
        dateCombo_->clear();
        for (const std::string& entry : list.entries) {
            dateCombo_->addItem(QString::fromStdString(Sjis::ToUtf8(entry)));
        }
        // The day on show stays chosen. When its files have gone from the store, nothing is
        // chosen and the empty list box still names the day that the race area shows.
        const auto shown = std::find(list.entries.begin(), list.entries.end(), shownEntry_);
        const bool listed = !shownEntry_.empty() && shown != list.entries.end();
        dateCombo_->setPlaceholderText(listed ? QString()
                                              : QString::fromStdString(Sjis::ToUtf8(shownEntry_)));
        dateCombo_->setCurrentIndex(
            listed ? static_cast<int>(std::distance(list.entries.begin(), shown)) : -1);
    }
    if (list.error) {
        interaction_->ErrorBox(
            DateListFailedText(dataRoot_ / std::string(store::kDataFolder), list.error));
    }
}

} // namespace shell::ui
