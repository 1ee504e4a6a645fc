// The main window's archive commands: the search and statistics window over the whole store.
#include "archive/ui/TArchiveForm.h"
#include "shell/ui/TMainForm.h"

namespace shell::ui {

void TMainForm::SearchItemClick() {
    ShowArchiveForm(archive::ui::TArchiveForm::kSearchPage);
}

void TMainForm::StatsItemClick() {
    ShowArchiveForm(archive::ui::TArchiveForm::kStatsPage);
}

archive::ui::TArchiveForm* TMainForm::ArchiveForm() const {
    return archiveForm_;
}

void TMainForm::ShowArchiveForm(int page) {
    if (!archiveForm_) {
        archive::ui::TArchiveFormSetup setup;
        setup.dataRoot = dataRoot_;
        setup.settingsFile = iniGT1_.FilePath();
        setup.interaction = interaction_;
        setup.openIndex = setup_.openIndex;
        setup.openRun = [this](const archive::TRunPlace& place) { ShowRun(place); };
        archiveForm_ = new archive::ui::TArchiveForm(std::move(setup), this);
        archiveForm_->setAttribute(Qt::WA_DeleteOnClose);
        archiveForm_->setFont(font());
    }
    archiveForm_->PageControl1()->setCurrentIndex(page);
    archiveForm_->show();
    archiveForm_->raise();
    archiveForm_->activateWindow();
}

} // namespace shell::ui
