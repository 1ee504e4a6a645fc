#include "widgets/ui/TabControl.h"

#include "jvdata/SjisText.h"

#include <QFrame>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace widgets {

TTabControl::TTabControl(QWidget* parent) : QWidget(parent) {
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("Tabs"));
    tabs_->setExpanding(false);
    tabs_->setDrawBase(true);
    tabs_->setUsesScrollButtons(true);
    // A click or Tab puts the focus on the strip, which then shows its focus mark and moves
    // between its tabs with the arrow keys.
    tabs_->setFocusPolicy(Qt::StrongFocus);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    client_ = frame;
    auto* clientLayout = new QVBoxLayout(client_);
    clientLayout->setContentsMargins(2, 2, 2, 2);
    clientLayout->setSpacing(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_);
    layout->addWidget(client_, 1);

    connect(tabs_, &QTabBar::currentChanged, this, &TTabControl::Change);
}

void TTabControl::SetClientWidget(QWidget* widget) {
    widget->setParent(client_);
    client_->layout()->addWidget(widget);
}

void TTabControl::ClearTabs() {
    // Emptying the strip is no choice of the user's.
    const QSignalBlocker quiet(tabs_);
    while (tabs_->count() > 0) {
        tabs_->removeTab(tabs_->count() - 1);
    }
    StripChanged();
}

void TTabControl::AddTab(std::string_view sjisLabel) {
    const QSignalBlocker quiet(tabs_);
    tabs_->addTab(QString::fromStdString(Sjis::ToUtf8(sjisLabel)));
    StripChanged();
}

void TTabControl::StripChanged() {
    // A strip that is not on screen (its page is behind another) lays its tabs out only when
    // shown, and does not tell this control's layout that its height changed; the layout
    // would keep the height of the strip it last saw, none at all before the first tab.
    if (!tabs_->isVisible()) {
        tabs_->updateGeometry();
    }
}

void TTabControl::SetTabIndex(int index) {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(index);
}

} // namespace widgets
