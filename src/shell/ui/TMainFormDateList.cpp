// The main window's date list (DateCombo): one entry per race day and racecourse in the store.
#include "jvdata/SjisText.h"
#include "race/DateList.h"
#include "shell/ShellTexts.h"
#include "shell/ui/TMainForm.h"
#include "store/StoreLayout.h"

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
        dateCombo_->setCurrentIndex(-1);
    }
    if (list.error) {
        interaction_->ErrorBox(
            DateListFailedText(dataRoot_ / std::string(store::kDataFolder), list.error));
    }
}

} // namespace shell::ui
