#include "race/ui/PayoffPageWidget.h"

#include "jvdata/SjisText.h"
#include "widgets/ui/QtConvert.h"

#include <QFont>

namespace race::ui {

namespace {

using widgets::FromRgb;

using PayoffPage::TLabelLook;
using PayoffPage::TPayoffLine;
using widgets::TLabel3Dj;

// Width of a heading: room for the longest, "三連複", engraved.
constexpr int kHeadingWidth = 80;

std::size_t Index(TBetType bet) {
    return static_cast<std::size_t>(bet);
}

std::size_t Index(TPayoffLine line) {
    return static_cast<std::size_t>(line);
}

// A 3-D label of a look, at a place.
TLabel3Dj* MakeLabel(QWidget* parent, const TLabelLook& look, const QRect& place) {
    auto* label = new TLabel3Dj(parent);
    label->SetAutoSize(false);
    QFont font = parent->font();
    if (!look.fontFace.empty()) {
        font.setFamily(QString::fromStdString(Sjis::ToUtf8(look.fontFace)));
    }
    font.setPixelSize(PayoffPage::kFontPixels);
    font.setBold(look.bold);
    font.setUnderline(look.underline);
    label->setFont(font);
    label->SetFontColor(FromRgb(look.textColour));
    label->SetTransparent(!look.filled);
    if (look.filled) {
        label->SetColor(FromRgb(look.background));
    }
    if (look.box) {
        label->SetBorder(true);
        label->SetBorderType(widgets::TBorderType::btRecessed);
        label->SetTextStyle(widgets::TTextStyle::tsNone);
        label->SetAlignment(widgets::TAlignment::taCenter);
    } else {
        label->SetTextStyle(widgets::TTextStyle::tsRecessed);
        label->SetAlignment(widgets::TAlignment::taLeftJustify);
    }
    label->SetShowAccelChar(false);
    label->setGeometry(place);
    return label;
}

} // namespace

TPayoffPageWidget::TPayoffPageWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PayoffPage"));
    for (const TBetType bet : kBetTypes) {
        TBlock& block = blocks_[Index(bet)];
        block.heading = MakeLabel(this, PayoffPage::kHeadingLook,
                                  QRect(PayoffPage::kHeadingLeft, PayoffPage::BlockTop(bet),
                                        kHeadingWidth, PayoffPage::kHeadingHeight));
        block.heading->SetCaptionSjis(PayoffPage::BetTypeHeading(bet));
        const int height = PayoffPage::BoxHeight(bet);
        for (const TPayoffLine line : PayoffPage::kLines) {
            const int top = PayoffPage::LineTop(bet, line);
            TLabel3Dj* caption =
                MakeLabel(this, PayoffPage::kCaptionLook,
                          QRect(PayoffPage::kCaptionLeft, top, PayoffPage::kCaptionWidth, height));
            caption->SetCaptionSjis(PayoffPage::LineCaption(line));
            block.captions[Index(line)] = caption;
            for (int entry = 0; entry < PayoffEntryCount(bet); ++entry) {
                block.boxes[Index(line)].push_back(MakeLabel(
                    this, PayoffPage::BoxLook(line),
                    QRect(PayoffPage::ColumnLeft(entry), top, PayoffPage::kBoxWidth, height)));
            }
        }
    }
}

TLabel3Dj* TPayoffPageWidget::Heading(TBetType bet) const {
    return blocks_[Index(bet)].heading;
}

TLabel3Dj* TPayoffPageWidget::Caption(TBetType bet, TPayoffLine line) const {
    return blocks_[Index(bet)].captions[Index(line)];
}

TLabel3Dj* TPayoffPageWidget::Box(TBetType bet, TPayoffLine line, int entry) const {
    const auto& row = blocks_[Index(bet)].boxes[Index(line)];
    if (entry < 0 || entry >= static_cast<int>(row.size())) {
        return nullptr;
    }
    return row[static_cast<std::size_t>(entry)];
}

void TPayoffPageWidget::Clear() {
    for (TBlock& block : blocks_) {
        for (auto& row : block.boxes) {
            for (TLabel3Dj* box : row) {
                box->SetCaption(QString());
            }
        }
    }
}

void TPayoffPageWidget::Show(const TPayoffTable& table, int slot) {
    Clear();
    for (const TBetType bet : kBetTypes) {
        const std::vector<TPayoffBoxTexts> columns = PayoffBoxTexts(table, slot, bet);
        for (int entry = 0; entry < static_cast<int>(columns.size()); ++entry) {
            for (const TPayoffLine line : PayoffPage::kLines) {
                if (TLabel3Dj* box = Box(bet, line, entry)) {
                    box->SetCaptionSjis(
                        PayoffPage::BoxText(columns[static_cast<std::size_t>(entry)], line));
                }
            }
        }
    }
}

QSize TPayoffPageWidget::sizeHint() const {
    return QSize(PayoffPage::ColumnLeft(kMaxPayoffEntries), PayoffPage::PageHeight());
}

} // namespace race::ui
