// TMsgDlg: a preset message box that a window shows with one call.
//
// A non-visual component holding the settings of a standard message box (text, kind, buttons,
// position, help topic, sound). Show plays the kind's sound when asked, shows the box modally
// through the window's user interaction and keeps the button that closed it.
#pragma once

#include "widgets/MessageDialog.h"
#include "widgets/UserInteraction.h"

#include <memory>
#include <string>
#include <string_view>

#include <QObject>

namespace widgets {

class QtUserInteraction;

class TMsgDlg : public QObject {
    Q_OBJECT

public:
    // Boxes of a component whose parent is a widget are modal over that widget.
    explicit TMsgDlg(QObject* parent = nullptr);
    ~TMsgDlg() override;

    // Play the kind's system sound before showing (false).
    bool Sound() const { return sound_; }
    void SetSound(bool sound) { sound_ = sound; }
    // Screen position of the box for poDesigned (-1: not set).
    int MsgLeft() const { return msgLeft_; }
    void SetMsgLeft(int left) { msgLeft_ = left; }
    int MsgTop() const { return msgTop_; }
    void SetMsgTop(int top) { msgTop_ = top; }
    // Help topic of the box (0).
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }
    // The message, Shift-JIS (empty).
    const std::string& DisplayMsg() const { return displayMsg_; }
    void SetDisplayMsg(std::string_view sjis) { displayMsg_ = sjis; }
    // Kind of box: icon, title and sound (information).
    TMsgDlgType MsgDlgType() const { return msgDlgType_; }
    void SetMsgDlgType(TMsgDlgType type) { msgDlgType_ = type; }
    // Where the box goes (screen centre).
    TMsgPosition MsgPosition() const { return msgPosition_; }
    void SetMsgPosition(TMsgPosition position) { msgPosition_ = position; }
    // Buttons shown (OK only).
    TMsgDlgButtons VisibleButtons() const { return visibleButtons_; }
    void SetVisibleButtons(TMsgDlgButtons buttons) { visibleButtons_ = buttons; }
    // The button that closed the last box; mrNone before the first.
    TModalResult DlgResult() const { return dlgResult_; }

    // Who shows the box and plays the sound; nullptr (the default) for the Qt boxes. The
    // component does not own it.
    void SetInteraction(widgets::IUserInteraction* interaction) { interaction_ = interaction; }

    // The request Show makes from the settings.
    TMessageDialogRequest Request() const;

    // Plays the kind's sound when Sound is on, shows the box modally with DisplayMsg, keeps
    // its result and raises OnButtonClick with it.
    void Show();

signals:
    // The box closed with DlgResult.
    void OnButtonClick(widgets::TMsgDlg* Sender, widgets::TModalResult DlgResult);

private:
    widgets::IUserInteraction& Interaction();

    bool sound_ = false;
    int msgLeft_ = -1;
    int msgTop_ = -1;
    int helpContext_ = 0;
    std::string displayMsg_;
    TMsgDlgType msgDlgType_ = TMsgDlgType::mtInformation;
    TMsgPosition msgPosition_ = TMsgPosition::poScreenCenter;
    TMsgDlgButtons visibleButtons_{TMsgDlgBtn::mbOK};
    TModalResult dlgResult_ = TModalResult::mrNone;

    widgets::IUserInteraction* interaction_ = nullptr;
    std::unique_ptr<QtUserInteraction> qtInteraction_; // made on first use
};

} // namespace widgets
