// The user interaction of the running program: Qt message boxes, the system sounds and the
// event loop.
#pragma once

#include "widgets/UserInteraction.h"

#include <functional>
#include <memory>
#include <utility>

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace widgets {

class QtUserInteraction : public widgets::IUserInteraction {
public:
    // Opens the help file at a topic (the program installs its help viewer).
    using THelpHandler = std::function<void(int helpContext)>;

    // Boxes are modal over parent (the active window when there is none) and carry the
    // application's display name as title unless SetTitle gives another.
    explicit QtUserInteraction(QWidget* parent = nullptr) : parent_(parent) {}

    void SetParent(QWidget* parent) { parent_ = parent; }
    void SetTitle(const QString& title) { title_ = title; }
    void SetHelpHandler(THelpHandler handler) { helpHandler_ = std::move(handler); }
    // Title of the program's own boxes.
    QString Title() const;

    void Beep() override;
    void PlaySound(TMessageSound sound) override;
    void Information(std::string_view sjisText) override;
    void ShowMessage(std::string_view sjisText) override;
    bool Confirm(std::string_view sjisText) override;
    void ErrorBox(std::string_view sjisText) override;
    TModalResult MessageDialog(const TMessageDialogRequest& request) override;
    void ProcessEvents() override;
    void PaintPending() override;

    // The box MessageDialog shows for a request, ready to run: icon and title of the kind,
    // the text, the buttons with their captions, Enter and Escape buttons, and its placement
    // applied when it is shown.
    std::unique_ptr<QMessageBox> MakeMessageBox(const TMessageDialogRequest& request) const;
    // The result of a box made by MakeMessageBox once it has closed.
    static TModalResult ResultOfBox(const QMessageBox& box);

private:
    QWidget* Parent() const;
    // A plain box of the program: title, icon, text and the given standard buttons.
    std::unique_ptr<QMessageBox> MakeSimpleBox(QMessageBox::Icon icon, std::string_view sjisText,
                                               QMessageBox::StandardButtons buttons) const;

    QPointer<QWidget> parent_;
    QString title_;
    THelpHandler helpHandler_;
};

// A message text for a Qt box: Shift-JIS bytes to Unicode, line breaks as "\n".
QString MessageText(std::string_view sjisText);

} // namespace widgets
