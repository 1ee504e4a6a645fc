#include "widgets/ui/TPrgrsForm.h"

#include "jvdata/SjisText.h"

#include <algorithm>

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace widgets {

namespace {

constexpr int kWidth = 349;
constexpr int kHeight = 59;
constexpr int kFrameWidth = 2;
const QColor kFrameColour(0, 0, 255);

} // namespace

TPrgrsForm::TPrgrsForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("PrgrsForm"));
    setFixedSize(kWidth, kHeight);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    setAutoFillBackground(true);

    label1_ = new QLabel(QStringLiteral("データを読み込んでいます"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(8, 4, kWidth - 16, 14);

    staticText1_ = new QLabel(this);
    staticText1_->setObjectName(QStringLiteral("StaticText1"));
    staticText1_->setGeometry(8, 20, kWidth - 16, 16);
    QFont bold = font;
    bold.setBold(true);
    staticText1_->setFont(bold);

    progressBar1_ = new QProgressBar(this);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setGeometry(8, 39, kWidth - 16, 14);
    progressBar1_->setTextVisible(false); // a smooth bar, no percentage
    progressBar1_->setRange(0, 100);
    progressBar1_->setValue(0);
}

void TPrgrsForm::Start(std::string_view sjisEntry, int maximum) {
    progressBar1_->setRange(0, maximum);
    progressBar1_->setValue(0);
    staticText1_->setText(QString::fromStdString(Sjis::ToUtf8(sjisEntry)));
    show();
    raise();
}

void TPrgrsForm::StepIt() {
    progressBar1_->setValue(std::min(progressBar1_->value() + 1, progressBar1_->maximum()));
}

void TPrgrsForm::Finish() {
    hide();
}

void TPrgrsForm::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kFrameColour);
    const QRect all = rect();
    painter.drawRect(0, 0, all.width(), kFrameWidth);
    painter.drawRect(0, all.height() - kFrameWidth, all.width(), kFrameWidth);
    painter.drawRect(0, 0, kFrameWidth, all.height());
    painter.drawRect(all.width() - kFrameWidth, 0, kFrameWidth, all.height());
}

void TPrgrsForm::showEvent(QShowEvent* event) {
    // Centred on the screen each time it is shown.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    QWidget::showEvent(event);
}

} // namespace widgets
