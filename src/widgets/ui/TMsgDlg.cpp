#include "widgets/ui/TMsgDlg.h"

#include "widgets/ui/QtUserInteraction.h"

#include <QWidget>

namespace widgets {

TMsgDlg::TMsgDlg(QObject* parent) : QObject(parent) {}

TMsgDlg::~TMsgDlg() = default;

widgets::IUserInteraction& TMsgDlg::Interaction() {
    if (interaction_ != nullptr) {
        return *interaction_;
    }
    if (!qtInteraction_) {
        qtInteraction_ = std::make_unique<QtUserInteraction>();
    }
    // The owning window may have been set or changed since the last showing.
    qtInteraction_->SetParent(qobject_cast<QWidget*>(parent()));
    return *qtInteraction_;
}

TMessageDialogRequest TMsgDlg::Request() const {
    TMessageDialogRequest request;
    request.type = msgDlgType_;
    request.text = displayMsg_;
    request.buttons = visibleButtons_;
    request.helpContext = helpContext_;
    request.placement = PlacementOf(msgPosition_, msgLeft_, msgTop_);
    return request;
}

void TMsgDlg::Show() {
    widgets::IUserInteraction& ui = Interaction();
    if (sound_) {
        ui.PlaySound(SoundOf(msgDlgType_));
    }
    dlgResult_ = ui.MessageDialog(Request());
    emit OnButtonClick(this, dlgResult_);
}

} // namespace widgets
