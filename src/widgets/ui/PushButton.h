// A push button as the program's dialogs make them: named for tests and key handling, and not
// taking Return for itself, so that Return goes where the window sends it.
#pragma once

#include <QPushButton>
#include <QString>
#include <QWidget>

namespace widgets {

inline QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace widgets
