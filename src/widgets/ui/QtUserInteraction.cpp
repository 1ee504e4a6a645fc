#include "widgets/ui/QtUserInteraction.h"

#include "widgets/ui/KeepOnScreen.h"
#include "widgets/ui/QtConvert.h"

#include <algorithm>
#include <optional>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVariant>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "jvdata/SjisText.h"

namespace widgets {

namespace {

// The standard button each box button is, kept on the Qt button.
constexpr const char* kButtonProperty = "keibaMsgDlgBtn";

QMessageBox::Icon IconOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    case TMsgDlgType::mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

// The Qt standard button of a box button; none for "all", which Qt does not have.
std::optional<QMessageBox::StandardButton> StandardOf(TMsgDlgBtn button) {
    switch (button) {
    case TMsgDlgBtn::mbYes:
        return QMessageBox::Yes;
    case TMsgDlgBtn::mbNo:
        return QMessageBox::No;
    case TMsgDlgBtn::mbOK:
        return QMessageBox::Ok;
    case TMsgDlgBtn::mbCancel:
        return QMessageBox::Cancel;
    case TMsgDlgBtn::mbAbort:
        return QMessageBox::Abort;
    case TMsgDlgBtn::mbRetry:
        return QMessageBox::Retry;
    case TMsgDlgBtn::mbIgnore:
        return QMessageBox::Ignore;
    case TMsgDlgBtn::mbNoToAll:
        return QMessageBox::NoToAll;
    case TMsgDlgBtn::mbYesToAll:
        return QMessageBox::YesToAll;
    case TMsgDlgBtn::mbHelp:
        return QMessageBox::Help;
    case TMsgDlgBtn::mbAll:
        break;
    }
    return std::nullopt;
}

// Room for a box's window frame on either side.
constexpr int kFrameAllowance = 16;

// Keeps each line of a box's message on one line, as the designed platform's boxes do. Qt
// breaks the message once it is wider than half the screen, inside words for Japanese text;
// holding the text's width open up to the widest box Qt makes on the screen means that only a
// line wider than that is still broken. Called before the box sizes itself on showing.
void KeepLinesWhole(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QLayout* layout = box.layout();
    const QScreen* shown =
        box.screen() != nullptr ? box.screen() : QGuiApplication::primaryScreen();
    if (label == nullptr || layout == nullptr || shown == nullptr) {
        return;
    }
    const bool wrapped = label->wordWrap();
    label->setMinimumWidth(0);
    label->setWordWrap(false);
    layout->activate();
    const int lines = label->minimumSizeHint().width();            // the widest line
    const int others = layout->totalMinimumSize().width() - lines; // icon, margins, spacing
    label->setWordWrap(wrapped);
    // The widest box Qt lays out on this screen, its frame inside the screen's free area;
    // longer lines wrap.
    const int screenWidth = shown->availableGeometry().width();
    const int widest =
        screenWidth <= 1024 ? screenWidth - kFrameAllowance : std::min(screenWidth - 480, 1000);
    label->setMinimumWidth(std::max(0, std::min(lines, widest - others)));
}

// The program's message box: each line of the message whole, and at its placement each time
// it is shown, after it has sized itself.
class PlacedMessageBox : public QMessageBox {
public:
    explicit PlacedMessageBox(TDialogPlacement placement, QWidget* parent)
        : QMessageBox(parent), placement_(placement) {}

protected:
    void showEvent(QShowEvent* event) override {
        KeepLinesWhole(*this);
        QMessageBox::showEvent(event);
        if (!placement_.screenCentre && !placement_.left && !placement_.top) {
            return; // the standard placement
        }
        const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
        const QRect area = shown != nullptr ? shown->geometry() : QRect();
        const QRect frame = frameGeometry();
        int left = frame.x();
        int top = frame.y();
        if (placement_.screenCentre) {
            left = area.x() + (area.width() - frame.width()) / 2;
            top = area.y() + (area.height() - frame.height()) / 2;
        }
        left = placement_.left.value_or(left);
        top = placement_.top.value_or(top);
        move(left, top);
        FitWindowOnScreen(*this);
    }

private:
    TDialogPlacement placement_;
};

// Runs a box modally. False when the box was destroyed while it ran (its window closed from
// code): the box is gone then, and nothing was answered.
bool RunBox(std::unique_ptr<QMessageBox>& box) {
    const QPointer<QMessageBox> alive(box.get());
    box->exec();
    if (alive.isNull()) {
        static_cast<void>(box.release()); // already deleted with its window
        return false;
    }
    return true;
}

} // namespace

QString MessageText(std::string_view sjisText) {
    QString text = FromSjis(sjisText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}

QString QtUserInteraction::Title() const {
    return title_.isEmpty() ? QGuiApplication::applicationDisplayName() : title_;
}

QWidget* QtUserInteraction::Parent() const {
    return parent_ ? parent_.data() : QApplication::activeWindow();
}

void QtUserInteraction::Beep() {
    QApplication::beep();
}

void QtUserInteraction::PlaySound(TMessageSound sound) {
#ifdef Q_OS_WIN
    UINT type = MB_OK;
    switch (sound) {
    case TMessageSound::Exclamation:
        type = MB_ICONEXCLAMATION;
        break;
    case TMessageSound::Hand:
        type = MB_ICONHAND;
        break;
    case TMessageSound::Asterisk:
        type = MB_ICONASTERISK;
        break;
    case TMessageSound::Question:
        type = MB_ICONQUESTION;
        break;
    case TMessageSound::DefaultBeep:
        break;
    }
    MessageBeep(type);
#else
    // Other systems have one alert sound for every kind.
    static_cast<void>(sound);
    QApplication::beep();
#endif
}

std::unique_ptr<QMessageBox>
QtUserInteraction::MakeSimpleBox(QMessageBox::Icon icon, std::string_view sjisText,
                                 QMessageBox::StandardButtons buttons) const {
    auto box = std::make_unique<PlacedMessageBox>(TDialogPlacement{}, Parent());
    box->setIcon(icon);
    box->setWindowTitle(Title());
    box->setTextFormat(Qt::PlainText);
    box->setText(MessageText(sjisText));
    box->setStandardButtons(buttons);
    if (buttons.testFlag(QMessageBox::Ok)) {
        box->button(QMessageBox::Ok)->setText(FromSjis(ButtonCaption(TMsgDlgBtn::mbOK)));
    }
    if (buttons.testFlag(QMessageBox::Yes)) {
        box->button(QMessageBox::Yes)->setText(FromSjis(ButtonCaption(TMsgDlgBtn::mbYes)));
    }
    if (buttons.testFlag(QMessageBox::No)) {
        box->button(QMessageBox::No)->setText(FromSjis(ButtonCaption(TMsgDlgBtn::mbNo)));
    }
    return box;
}

void QtUserInteraction::Information(std::string_view sjisText) {
    auto box = MakeSimpleBox(QMessageBox::Information, sjisText, QMessageBox::Ok);
    RunBox(box);
}

void QtUserInteraction::ShowMessage(std::string_view sjisText) {
    auto box = MakeSimpleBox(QMessageBox::NoIcon, sjisText, QMessageBox::Ok);
    RunBox(box);
}

bool QtUserInteraction::Confirm(std::string_view sjisText) {
    auto box = MakeSimpleBox(QMessageBox::Question, sjisText, QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return RunBox(box) && box->clickedButton() == box->button(QMessageBox::Yes);
}

void QtUserInteraction::ErrorBox(std::string_view sjisText) {
    auto box = MakeSimpleBox(QMessageBox::Critical, sjisText, QMessageBox::Ok);
    RunBox(box);
}

std::unique_ptr<QMessageBox>
QtUserInteraction::MakeMessageBox(const TMessageDialogRequest& request) const {
    auto box = std::make_unique<PlacedMessageBox>(request.placement, Parent());
    box->setIcon(IconOf(request.type));
    const std::string title = TitleOf(request.type);
    box->setWindowTitle(title.empty() ? Title() : FromSjis(title));
    box->setTextFormat(Qt::PlainText);
    box->setText(MessageText(request.text));

    const TMsgDlgButtons shown = ShownButtons(request.buttons);
    const auto defaultButton = DefaultButtonOf(shown);
    const auto escapeButton = EscapeButtonOf(shown);
    for (TMsgDlgBtn button : shown.Buttons()) {
        QPushButton* added = nullptr;
        if (const auto standard = StandardOf(button)) {
            added = box->addButton(*standard);
        } else {
            added = box->addButton(FromSjis(ButtonCaption(button)), QMessageBox::YesRole);
        }
        added->setText(FromSjis(ButtonCaption(button)));
        added->setProperty(kButtonProperty, static_cast<int>(button));
        if (defaultButton == button) {
            box->setDefaultButton(added);
        }
        if (escapeButton == button) {
            box->setEscapeButton(added);
        }
    }
    return box;
}

TModalResult QtUserInteraction::ResultOfBox(const QMessageBox& box) {
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) {
        return TModalResult::mrCancel; // closed without an answer
    }
    const QVariant button = clicked->property(kButtonProperty);
    if (!button.isValid()) {
        return TModalResult::mrCancel;
    }
    return ResultOf(static_cast<TMsgDlgBtn>(button.toInt()));
}

TModalResult QtUserInteraction::MessageDialog(const TMessageDialogRequest& request) {
    auto box = MakeMessageBox(request);
    for (;;) {
        if (!RunBox(box)) {
            return TModalResult::mrCancel;
        }
        const QAbstractButton* clicked = box->clickedButton();
        const bool help = clicked != nullptr && clicked->property(kButtonProperty).toInt() ==
                                                    static_cast<int>(TMsgDlgBtn::mbHelp);
        if (!help) {
            return ResultOfBox(*box);
        }
        // Help answers nothing: show the topic and ask again.
        if (helpHandler_) {
            helpHandler_(request.helpContext);
        }
    }
}

void QtUserInteraction::ProcessEvents() {
    QCoreApplication::processEvents();
}

void QtUserInteraction::PaintPending() {
    // Held-back input is delivered by the event loop once the operation returns to it.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace widgets
