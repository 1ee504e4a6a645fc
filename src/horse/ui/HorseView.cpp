#include "horse/ui/HorseView.h"

#include "jvdata/SjisText.h"
#include "widgets/ui/TabControl.h"

#include <algorithm>

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QScrollBar>
#include <QVBoxLayout>

namespace horse::ui {

namespace {

// Widths of the pages' contents: the longest line of each page in the fixed-pitch face at
// 12 px, where a byte is 6 px wide. "　馬情報１　" follows its page (FitProfilePage).
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

// The pedigree lines of "　馬情報１　": 【父】 to 【母母父】, 【母】 to 【母母母】, 【父父】 to
// 【母父父】, 【父母】 to 【母父母】. At their full stored width they run to 181 bytes, wider than
// the page at the window's default size.
bool IsPedigreeLine(std::string_view name) {
    return name == "Label54" || name == "Label7" || name == "Label53" || name == "Label52";
}

// Room kept right of a line's last character.
constexpr int kLineEndRoom = 4;

// How wide a label's text is drawn, without the blanks at its end.
int DrawnWidth(const QLabel& label) {
    QString text = label.text();
    while (!text.isEmpty() && text.back().isSpace()) {
        text.chop(1);
    }
    return QFontMetrics(label.font()).horizontalAdvance(text);
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
    // Clicked, the page tabs take the focus and follow the arrow keys.
    pageControl2_->setFocusPolicy(Qt::StrongFocus);
    pageControl2_->tabBar()->setFocusPolicy(Qt::StrongFocus);
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

    profileScroll_ = static_cast<QScrollArea*>(pageControl2_->widget(kProfile1));
    profileScroll_->viewport()->installEventFilter(this);

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

bool THorseView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == profileScroll_->viewport()) {
        FitProfilePage();
    }
    return QWidget::eventFilter(watched, event);
}

int THorseView::PedigreeStretch() const {
    return Label("Label54")->font().stretch();
}

void THorseView::FitProfilePage() {
    QWidget* content = profileScroll_->widget();
    const int visible = profileScroll_->viewport()->width();
    const auto places = HorseLabels();

    // The pedigree lines share one stretch, so that their columns stay one above the other.
    QFont full = Label("Label54")->font();
    full.setStretch(100);
    int widest = 0;
    int left = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (IsPedigreeLine(places[i].name)) {
            labels_[i]->setFont(full);
            widest = std::max(widest, DrawnWidth(*labels_[i]));
            left = places[i].left;
        }
    }
    int stretch = 100;
    const int room = visible - left - kLineEndRoom;
    if (widest > room && widest > 0) {
        stretch = std::max(kMinPedigreeStretch, room * 100 / widest);
    }
    QFont condensed = full;
    condensed.setStretch(stretch);
    // Glyph widths round at each size: step down until the lines really fit.
    const auto drawnAt = [&](const QFont& font) {
        int drawn = 0;
        for (std::size_t i = 0; i < places.size(); ++i) {
            if (IsPedigreeLine(places[i].name)) {
                labels_[i]->setFont(font);
                drawn = std::max(drawn, DrawnWidth(*labels_[i]));
            }
        }
        return drawn;
    };
    while (drawnAt(condensed) > room && condensed.stretch() > kMinPedigreeStretch) {
        condensed.setStretch(condensed.stretch() - 1);
    }

    // The page as wide as the visible area, or as its widest line when that is wider.
    int needed = visible;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i].sheet == kProfile1) {
            needed = std::max(needed, places[i].left + DrawnWidth(*labels_[i]) + kLineEndRoom);
        }
    }
    content->setFixedWidth(needed);
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i].sheet == kProfile1) {
            labels_[i]->resize(needed - places[i].left, labels_[i]->height());
        }
    }
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
    FitProfilePage();
}

} // namespace horse::ui
