// The main window's race area: the race heading, the race tabs and the pages under them.
//
// Each page is filled by its own view when a race day is loaded; here the pages are made with
// their captions, and the race card page with its grid and header row.
#include "analysis/ui/AnalysisPages.h"
#include "race/ui/RaceCardGrid.h"
#include "race/ui/RaceHeaderPanel.h"
#include "shell/ui/TMainForm.h"
#include "widgets/ui/TabControl.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QVBoxLayout>

namespace shell::ui {

namespace {

// The pages of PageControl1, left to right: the sheet's name and its caption.
struct TPage {
    const char* name;
    const char16_t* caption;
};
constexpr TPage kPages[] = {
    {"TabSheet1", u"出馬表"},
    {"TabSheet2", u"競走馬"},
    {"TabSheet3", u"馬番別ﾀｲﾑ推移ｸﾞﾗﾌ"},
    {"TabSheet4", u"各馬ﾀｲﾑ比較ｸﾞﾗﾌ"},
    {"TabSheet5", u"走破ﾀｲﾑ計算表"},
    {"TabSheet6", u"上3ﾊﾛﾝﾀｲﾑ計算表"},
    {"TabSheet7", u"人気・着順推移ｸﾞﾗﾌ"},
    {"TabSheet8", u"人気･着順比較ｸﾞﾗﾌ"},
    {"TabSheet9", u"成績結果"},
};

// Tabs with the narrow side margins of the system's tab control, so that all nine page
// captions fit the window's width.
class TCompactTabStyle : public QProxyStyle {
public:
    TCompactTabStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace) {
            return 10;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void TMainForm::SetupRaceArea() {
    panel1_ = new QWidget(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QVBoxLayout(panel1_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panel2_ = new race::ui::TRaceHeaderPanel(panel1_);
    layout->addWidget(panel2_);

    tabControl1_ = new widgets::TTabControl(panel1_);
    tabControl1_->setObjectName(QStringLiteral("TabControl1"));
    layout->addWidget(tabControl1_, 1);

    pageControl1_ = new QTabWidget(tabControl1_->Client());
    pageControl1_->setObjectName(QStringLiteral("PageControl1"));
    pageControl1_->setUsesScrollButtons(true);
    auto* tabStyle = new TCompactTabStyle;
    tabStyle->setParent(pageControl1_);
    pageControl1_->tabBar()->setStyle(tabStyle);
    // Clicked, the page tabs take the focus and follow the arrow keys.
    pageControl1_->setFocusPolicy(Qt::StrongFocus);
    pageControl1_->tabBar()->setFocusPolicy(Qt::StrongFocus);
    tabControl1_->SetClientWidget(pageControl1_);

    for (const TPage& page : kPages) {
        auto* sheet = new QWidget(pageControl1_);
        sheet->setObjectName(QString::fromLatin1(page.name));
        pageControl1_->addTab(sheet, QString::fromUtf16(page.caption));
    }

    // 出馬表: the race card grid fills its page.
    QWidget* cardSheet = pageControl1_->widget(0);
    auto* cardLayout = new QVBoxLayout(cardSheet);
    cardLayout->setContentsMargins(0, 0, 0, 0);
    stringGrid1_ = new race::ui::TRaceCardGrid(cardSheet);
    cardLayout->addWidget(stringGrid1_);

    // The time tables and the four charts, on pages 2 to 7.
    analysisPages_ = new analysis::ui::TAnalysisPages(
        analysis::ui::TAnalysisSheets{pageControl1_->widget(2), pageControl1_->widget(3),
                                      pageControl1_->widget(4), pageControl1_->widget(5),
                                      pageControl1_->widget(6), pageControl1_->widget(7)},
        this);

    SetupRaceBrowsing();

    // Hidden until a race day is loaded.
    panel1_->hide();
}

void TMainForm::CyclePages(int step) {
    if (!panel1_->isVisible()) {
        return;
    }
    // The innermost page control around the focus: the horse pages inside "競走馬", else the
    // pages of the race area.
    QTabWidget* pages = pageControl1_;
    for (QWidget* control = QApplication::focusWidget(); control != nullptr && control != this;
         control = control->parentWidget()) {
        if (auto* inner = qobject_cast<QTabWidget*>(control); inner != nullptr) {
            pages = inner;
            break;
        }
    }
    const int count = pages->count();
    if (count == 0) {
        return;
    }
    pages->setCurrentIndex(((pages->currentIndex() + step) % count + count) % count);
    // The control that had the focus may have gone with its page; the strip keeps it, so
    // that the next Ctrl+Tab goes on from here.
    pages->tabBar()->setFocus(Qt::TabFocusReason);
}

} // namespace shell::ui
