#include "horse/ui/HorseView.h"

#include "jvdata/SjisText.h"
#include "widgets/ui/TabControl.h"

#include <QFont>
#include <QFontMetrics>
#include <QScrollArea>
#include <QVBoxLayout>

namespace horse::ui {

namespace {

// Widths of the pages' contents: the longest line of each page in the fixed-pitch face at
// 12 px, where a byte is 6 px wide (the pedigree lines run to 178 bytes).
int SheetWidth(int sheet) {
    switch (sheet) {
    case kProfile1:
        return 1100;
    case kProfile2:
        return 560;
    default:
        return 700;
    }
}

QFont Face(const char* face, int pixels, bool bold = false) {
    QFont font(QString::fromUtf8(face));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QPalette Colours(QPalette palette, const QColor& background, const QColor& text) {
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

QLabel* NameBar(QWidget* parent) {
    auto* bar = new QLabel(parent);
    bar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->setFixedHeight(17);
    bar->setAutoFillBackground(true);
    bar->setPalette(Colours(bar->palette(), Qt::yellow, Qt::blue));
    bar->setFont(Face("ＭＳ Ｐゴシック", 15, true));
    bar->setTextFormat(Qt::PlainText);
    bar->setContentsMargins(2, 0, 2, 0);
    return bar;
}

// One page: a scroll box on black whose content holds the page's labels at fixed places.
QWidget* Sheet(int sheet, QWidget*& content) {
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAutoFillBackground(true);
    scroll->setPalette(Colours(scroll->palette(), Qt::black, Qt::white));
    content = new QWidget;
    content->setAutoFillBackground(true);
    content->setPalette(Colours(content->palette(), Qt::black, Qt::white));
    int bottom = 0;
    for (const THorseLabel& place : HorseLabels()) {
        if (place.sheet == sheet) {
            bottom = std::max(bottom, place.top);
        }
    }
    content->setFixedSize(SheetWidth(sheet), bottom + 18);
    scroll->setWidget(content);
    return scroll;
}

} // namespace

THorseView::THorseView(const race::TRaceDayData& day, widgets::TTabControl& horseTabs,
                       QWidget* parent)
    : QWidget(parent), day_(day), horseTabs_(horseTabs) {
    setObjectName(QStringLiteral("HorseView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pageControl2_ = new QTabWidget(this);
    pageControl2_->setObjectName(QStringLiteral("PageControl2"));
    std::array<QWidget*, kHorseSheets> contents{};
    for (int sheet = 0; sheet < kHorseSheets; ++sheet) {
        QWidget* page = Sheet(sheet, contents[static_cast<std::size_t>(sheet)]);
        pageControl2_->addTab(page, QString::fromStdString(Sjis::ToUtf8(HorseSheetCaption(sheet))));
    }

    const QFont line = Face("ＭＳ ゴシック", 12);
    const QFont deregistration = Face("ＭＳ ゴシック", 11);
    const int lineHeight = QFontMetrics(line).height();
    const auto labels = HorseLabels();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const THorseLabel& place = labels[i];
        QLabel* label = nullptr;
        if (place.sheet == kNameBar) {
            label = NameBar(this);
        } else {
            QWidget* content = contents[static_cast<std::size_t>(place.sheet)];
            label = new QLabel(content);
            label->setTextFormat(Qt::PlainText);
            const bool red = place.look == TLabelLook::Deregistration;
            label->setFont(red ? deregistration : line);
            label->setPalette(Colours(label->palette(), Qt::black, red ? Qt::red : Qt::white));
            label->setGeometry(place.left, place.top, content->width() - place.left, lineHeight);
        }
        label->setObjectName(
            QString::fromLatin1(place.name.data(), static_cast<qsizetype>(place.name.size())));
        labels_[i] = label;
    }
    layout->addWidget(labels_[0]);
    layout->addWidget(pageControl2_, 1);

    connect(&horseTabs_, &widgets::TTabControl::Change, this, &THorseView::TabControl2Change);
}

QLabel* THorseView::Label(std::string_view name) const {
    const auto labels = HorseLabels();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (labels[i].name == name) {
            return labels_[i];
        }
    }
    return nullptr;
}

void THorseView::ShowRace(int raceSlot) {
    raceSlot_ = raceSlot;
    TabControl2Change();
}

void THorseView::TabControl2Change() {
    THorseTexts texts;
    FillHorseTexts(day_, raceSlot_, horseTabs_.TabIndex(), texts);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] != texts_[i]) {
            labels_[i]->setText(QString::fromStdString(Sjis::ToUtf8(texts[i])));
            texts_[i] = std::move(texts[i]);
        }
    }
}

} // namespace horse::ui
