#include "shell/ui/ToolGlyphs.h"

#include <functional>

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace shell::ui {

namespace {

// An icon drawn on a 16 x 16 grid, at 16 and 32 pixels.
QIcon DrawnIcon(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon PrinterSetupGlyph() {
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(64, 64, 64), 1));
        // The sheet coming out of the top.
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 6));
        // The body.
        p.setBrush(QColor(176, 176, 176));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
        // The tray with the printed sheet.
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 10.5, 9, 4));
        p.setPen(QPen(QColor(96, 96, 96), 0.8));
        p.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
        // The power lamp.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 160, 0));
        p.drawEllipse(QRectF(11.5, 8, 1.6, 1.6));
    });
}

QIcon ExitGlyph() {
    return DrawnIcon([](QPainter& p) {
        // The door frame and the open door.
        p.setPen(QPen(QColor(64, 64, 64), 1));
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(1.5, 1.5, 8, 13));
        p.setBrush(QColor(150, 90, 40));
        QPainterPath door;
        door.moveTo(1.5, 1.5);
        door.lineTo(6.5, 3);
        door.lineTo(6.5, 15.5);
        door.lineTo(1.5, 14.5);
        door.closeSubpath();
        p.drawPath(door);
        // The arrow going out.
        p.setPen(QPen(QColor(200, 0, 0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(8.5, 8), QPointF(14.5, 8));
        p.drawLine(QPointF(12, 5.5), QPointF(14.5, 8));
        p.drawLine(QPointF(12, 10.5), QPointF(14.5, 8));
    });
}

QIcon HelpContentsGlyph() {
    return DrawnIcon([](QPainter& p) {
        // The book: cover, page edges, spine.
        p.setPen(QPen(QColor(0, 40, 120), 1));
        p.setBrush(QColor(40, 90, 200));
        p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 12.5, 10.5, 1.5));
        p.setBrush(QColor(0, 40, 120));
        p.drawRect(QRectF(2.5, 1.5, 2, 13));
        // The question mark.
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(4.5, 1.5, 9, 11), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon AboutGlyph() {
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(0, 50, 140), 1));
        p.setBrush(QColor(30, 100, 220));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7, 3.5, 2, 2));
        p.drawRect(QRectF(7, 6.5, 2, 6));
        p.drawRect(QRectF(6, 12, 4, 1));
    });
}

QIcon ProgramIcon() {
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(0, 80, 0), 1));
        p.setBrush(QColor(0, 128, 0));
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(QPointF(2, 13.5), QPointF(14, 13.5));
        QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
        font.setPixelSize(12);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(0, 0, 16, 13.5), Qt::AlignCenter, QStringLiteral("競"));
    });
}

} // namespace shell::ui
