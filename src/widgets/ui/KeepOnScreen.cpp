#include "widgets/ui/KeepOnScreen.h"

#include "settings/WindowBounds.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>

namespace widgets {

namespace {

settings::TWindowBounds Bounds(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// Windows, dialogs and tool windows; menus, lists and tool tips place themselves.
bool KeptOnScreen(const QWidget& widget) {
    if (!widget.isWindow()) {
        return false;
    }
    const Qt::WindowType type = widget.windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool || type == Qt::SplashScreen;
}

class TKeepOnScreenFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (KeptOnScreen(*widget)) {
                FitWindowOnScreen(*widget);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void FitWindowOnScreen(QWidget& window) {
    if (window.isMaximized() || window.isFullScreen()) {
        return;
    }
    const QRect frame = window.frameGeometry();
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen == nullptr) {
        screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const settings::TWindowBounds fitted =
        settings::FitOnScreen(Bounds(frame), Bounds(screen->availableGeometry()));
    if (fitted == Bounds(frame)) {
        return;
    }
    // The frame is what must fit; the client area loses what the frame loses.
    const int narrower = frame.width() - fitted.width;
    const int lower = frame.height() - fitted.height;
    if (narrower > 0 || lower > 0) {
        window.resize(window.width() - narrower, window.height() - lower);
    }
    window.move(fitted.left, fitted.top);
}

void KeepWindowsOnScreen() {
    static auto* filter = new TKeepOnScreenFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

} // namespace widgets
