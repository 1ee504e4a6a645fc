#include "race/ui/RaceHeaderPanel.h"

#include "race/RaceCardLook.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>
#include <QPalette>

namespace race::ui {

TRaceHeaderPanel::TRaceHeaderPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel2"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedHeight(race::CardLook::kPanelHeight);
    setAutoFillBackground(true);
    SetColour(QColor::fromRgb(race::CardLook::kPanelGreen));

    static const char* const names[] = {"Label1", "Label2", "Label3",
                                        "Label4", "Label5", "Label51"};
    QFont plain(QStringLiteral("ＭＳ Ｐゴシック"));
    plain.setPixelSize(race::CardLook::kHeaderFontPixels);
    QFont bold = plain;
    bold.setBold(true);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(names[i]));
        label->setFont(i < 2 ? bold : plain);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, QColor::fromRgb(race::CardLook::kHeaderTextColour));
        label->setPalette(colours);
        lines_[i] = label;
    }
    PlaceLines();
}

void TRaceHeaderPanel::SetColour(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colour);
    setPalette(colours);
}

QColor TRaceHeaderPanel::Colour() const {
    return palette().color(QPalette::Window);
}

void TRaceHeaderPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    PlaceLines();
}

void TRaceHeaderPanel::PlaceLines() {
    // Lines overlap by the font's leading so that six of them fit the panel; the labels draw
    // no background, so no line hides another.
    const int lineHeight = std::max(kLinePitch, QFontMetrics(lines_[0]->font()).height());
    const int fullWidth = std::max(0, width() - 2 * kMargin);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const int top = kFirstTop + static_cast<int>(i) * kLinePitch;
        if (i < 5) {
            lines_[i]->setGeometry(kMargin, top, fullWidth, lineHeight);
        } else {
            lines_[i]->setGeometry(kMargin + kLabel51Indent, top,
                                   std::max(0, fullWidth - kLabel51Indent), lineHeight);
        }
    }
}

} // namespace race::ui
