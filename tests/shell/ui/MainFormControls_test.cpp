// The main window as it is made: names, captions, hints, sizes, fonts and colours of its
// menus, tool bar, race area and race card grid.
#include "ShellUiSupport.h"
#include "race/ui/RaceCardGrid.h"
#include "race/ui/RaceHeaderPanel.h"
#include "shell/ui/TMainForm.h"
#include "widgets/ui/TabControl.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTabBar>
#include <QToolTip>
#include <QWindow>

namespace {

using namespace keiba::test;
using shell::ui::TMainForm;

// The texts of a menu's entries; a separator reads "-".
QStringList MenuEntries(const QMenu* menu) {
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return entries;
}

template <typename T>
T* Child(const QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

class MainFormControls : public ::testing::Test {
protected:
    MainFormWorld world;
    std::unique_ptr<TMainForm> form = world.Make();
};

TEST_F(MainFormControls, CaptionAndFont) {
    EXPECT_EQ(form->objectName(), QStringLiteral("MainForm"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tomberly&競馬新聞"));
    EXPECT_EQ(form->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(form->font().pixelSize(), 12);
    EXPECT_EQ(QFontInfo(form->font()).family(), QStringLiteral("IPAPGothic"));
}

TEST_F(MainFormControls, MenusWithTheirItems) {
    auto* mainMenu = Child<QMenuBar>(*form, "MainMenu");
    ASSERT_NE(mainMenu, nullptr);
    QStringList titles;
    for (const QAction* action : mainMenu->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("検索(&S)"),
                                   QStringLiteral("ﾍﾙﾌﾟ(&H)")}));

    auto* fileMenu = Child<QMenu>(*form, "FileMenu");
    auto* helpMenu = Child<QMenu>(*form, "HelpMenu");
    ASSERT_TRUE(fileMenu && helpMenu);
    EXPECT_EQ(
        MenuEntries(fileMenu),
        (QStringList{QStringLiteral("ＪＶデータ取得(&J)"), QStringLiteral("-"),
                     QStringLiteral("競馬新聞印刷(&P)..."), QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."),
                     QStringLiteral("-"), QStringLiteral("CSVに保存(&V)"), QStringLiteral("-"),
                     QStringLiteral("終了(&X)")}));
    EXPECT_EQ(MenuEntries(Child<QMenu>(*form, "CsvMenu")),
              (QStringList{QStringLiteral("出馬表(&C)..."), QStringLiteral("成績・払戻(&R)..."),
                           QStringLiteral("タイム計算表(&T)...")}));
    auto* searchMenu = Child<QMenu>(*form, "SearchMenu");
    ASSERT_NE(searchMenu, nullptr);
    EXPECT_EQ(MenuEntries(searchMenu),
              (QStringList{QStringLiteral("出走検索(&S)..."), QStringLiteral("成績統計(&T)...")}));
    EXPECT_EQ(form->findChild<QAction*>(QStringLiteral("SearchItem"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(MenuEntries(helpMenu), (QStringList{QStringLiteral("目次(&C)"), QStringLiteral("-"),
                                                  QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)...")}));

    const char* names[] = {"J1",         "FilePrintItem", "FilePrintSetupItem", "FileExitItem",
                           "SearchItem", "StatsItem",     "HelpContentsItem",   "HelpAboutItem"};
    for (const char* name : names) {
        EXPECT_NE(form->findChild<QAction*>(QString::fromLatin1(name)), nullptr) << name;
    }
}

TEST_F(MainFormControls, ToolBarLeftToRight) {
    auto* bar = Child<QFrame>(*form, "SpeedBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->height(), 29);

    auto* jvBtn = Child<QToolButton>(*form, "JVBtn");
    auto* dateCombo = Child<QComboBox>(*form, "DateCombo");
    auto* print = Child<QToolButton>(*form, "SpeedButton2");
    ASSERT_TRUE(jvBtn && dateCombo && print);
    EXPECT_EQ(jvBtn->text(), QStringLiteral("JVデータ取得"));
    EXPECT_TRUE(jvBtn->font().bold());
    EXPECT_EQ(jvBtn->width(), 109);

    EXPECT_FALSE(dateCombo->isEditable());
    EXPECT_TRUE(dateCombo->font().bold());
    EXPECT_EQ(dateCombo->width(), 163);
    EXPECT_EQ(dateCombo->maxVisibleItems(), 36);
    EXPECT_EQ(dateCombo->palette().color(QPalette::Base),
              QToolTip::palette().color(QPalette::ToolTipBase));

    EXPECT_EQ(print->text(), QStringLiteral("新聞印刷"));
    EXPECT_TRUE(print->font().bold());
    EXPECT_EQ(print->toolTip(), QStringLiteral("競馬新聞を印刷します"));
    EXPECT_EQ(print->statusTip(), QStringLiteral("競馬新聞を印刷します"));

    const std::pair<const char*, QString> glyphs[] = {
        {"SpeedButton3", QStringLiteral("ﾌﾟﾘﾝﾀの設定を変更します")},
        {"SpeedButton4", QStringLiteral("終了")},
        {"SpeedButton5", QStringLiteral("目次")},
        {"SpeedButton6", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報")},
    };
    int left = print->geometry().right();
    for (const auto& [name, hint] : glyphs) {
        auto* button = Child<QToolButton>(*form, name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), hint) << name;
        EXPECT_EQ(button->statusTip(), hint) << name;
        EXPECT_FALSE(button->icon().isNull()) << name;
        EXPECT_TRUE(button->text().isEmpty() ||
                    button->toolButtonStyle() == Qt::ToolButtonIconOnly);
        EXPECT_GT(button->x(), left) << name;
        left = button->geometry().right();
    }
    EXPECT_LT(jvBtn->geometry().right(), dateCombo->x());
    EXPECT_LT(dateCombo->geometry().right(), print->x());

    // Pressed by the program only.
    auto* makeList = Child<QToolButton>(*form, "MakeDataListBtn");
    auto* umConvert = Child<QToolButton>(*form, "UMConvertBtn");
    ASSERT_TRUE(makeList && umConvert);
    EXPECT_EQ(makeList->text(), QStringLiteral("リスト作成"));
    EXPECT_EQ(umConvert->text(), QStringLiteral("UMConvert"));
    form->show();
    EXPECT_FALSE(makeList->isVisible());
    EXPECT_FALSE(umConvert->isVisible());
    EXPECT_TRUE(dateCombo->isVisible());
    form->hide();
}

TEST_F(MainFormControls, WindowsNotYetThereLeaveTheirCommandsDisabled) {
    auto* j1 = form->findChild<QAction*>(QStringLiteral("J1"));
    auto* printItem = form->findChild<QAction*>(QStringLiteral("FilePrintItem"));
    ASSERT_TRUE(j1 && printItem);
    EXPECT_FALSE(j1->isEnabled());
    EXPECT_FALSE(form->JVBtn()->isEnabled());
    // Disabled, still with its hint.
    EXPECT_FALSE(form->JVBtn()->statusTip().isEmpty());
    EXPECT_EQ(printItem->statusTip(), QStringLiteral("競馬新聞を印刷します"));
    // The other commands are there to use, the newspaper print among them.
    EXPECT_TRUE(Child<QToolButton>(*form, "SpeedButton2")->isEnabled());
    for (const char* name : {"FilePrintItem", "FilePrintSetupItem", "FileExitItem",
                             "HelpContentsItem", "HelpAboutItem"}) {
        EXPECT_TRUE(form->findChild<QAction*>(QString::fromLatin1(name))->isEnabled()) << name;
    }

    // Given its window, acquisition runs it from the menu and from the tool bar; the print
    // without a loaded day only warns, from both, with the warning's sound.
    int acquisitions = 0;
    int prints = 0;
    auto setup = world.Setup();
    setup.acquireData = [&](TMainForm&) { ++acquisitions; };
    setup.printNewspaper = [&](TMainForm&) { ++prints; };
    TMainForm withWindows(std::move(setup));
    withWindows.findChild<QAction*>(QStringLiteral("J1"))->trigger();
    withWindows.JVBtn()->click();
    withWindows.findChild<QAction*>(QStringLiteral("FilePrintItem"))->trigger();
    withWindows.findChild<QToolButton*>(QStringLiteral("SpeedButton2"))->click();
    EXPECT_EQ(acquisitions, 2);
    EXPECT_EQ(prints, 0);
    const std::string warning = S("ﾃﾞｰﾀを読み込んでください。");
    EXPECT_EQ(world.user.Texts(), (std::vector<std::string>{warning, warning}));
    int sounds = 0;
    for (const auto& event : world.user.Events()) {
        sounds += event.kind == keiba::test::TInteractionEvent::Kind::Sound ? 1 : 0;
    }
    EXPECT_EQ(sounds, 2);
}

TEST_F(MainFormControls, HintsShowOnTheStatusLine) {
    form->show();
    RunPendingEvents();
    QStatusBar* status = form->StatusLine();
    auto* button = Child<QToolButton>(*form, "SpeedButton3");
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(button, &enter);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("ﾌﾟﾘﾝﾀの設定を変更します"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_TRUE(status->currentMessage().isEmpty());

    // The hint follows the mouse over the window, whether or not a control saw it leave.
    QCoreApplication::sendEvent(form->DateCombo(), &enter);
    const auto moveTo = [&](QWidget* control, QPointF inside = QPointF(3, 3)) {
        const QPointF at = control->mapTo(form.get(), inside);
        QMouseEvent move(QEvent::MouseMove, at, form->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(form->windowHandle(), &move);
    };
    moveTo(form->SpeedBar(), QPointF(form->SpeedBar()->width() - 4, 3)); // past the buttons
    EXPECT_TRUE(status->currentMessage().isEmpty());
    moveTo(button);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("ﾌﾟﾘﾝﾀの設定を変更します"));

    // A disabled command still tells what it is for.
    QCoreApplication::sendEvent(form->JVBtn(), &enter);
    EXPECT_EQ(status->currentMessage(), form->JVBtn()->statusTip());
    QCoreApplication::sendEvent(form->JVBtn(), &leave);

    // Menu items under the mouse put their hints there too.
    form->findChild<QAction*>(QStringLiteral("HelpAboutItem"))->showStatusText(form.get());
    EXPECT_EQ(status->currentMessage(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    form->hide();
}

TEST_F(MainFormControls, RaceAreaHiddenWithItsPages) {
    form->show();
    auto* panel1 = Child<QWidget>(*form, "Panel1");
    ASSERT_NE(panel1, nullptr);
    EXPECT_FALSE(panel1->isVisible());
    auto* status = Child<QStatusBar>(*form, "StatusLine");
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(form->statusBar(), status);

    auto* tabs = Child<widgets::TTabControl>(*form, "TabControl1");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->Tabs()->count(), 0);
    auto* pages = Child<QTabWidget>(*form, "PageControl1");
    ASSERT_NE(pages, nullptr);
    EXPECT_TRUE(tabs->isAncestorOf(pages));
    const QStringList captions = {
        QStringLiteral("出馬表"),
        QStringLiteral("競走馬"),
        QStringLiteral("馬番別ﾀｲﾑ推移ｸﾞﾗﾌ"),
        QStringLiteral("各馬ﾀｲﾑ比較ｸﾞﾗﾌ"),
        QStringLiteral("走破ﾀｲﾑ計算表"),
        QStringLiteral("上3ﾊﾛﾝﾀｲﾑ計算表"),
        QStringLiteral("人気・着順推移ｸﾞﾗﾌ"),
        QStringLiteral("人気･着順比較ｸﾞﾗﾌ"),
        QStringLiteral("成績結果"),
    };
    ASSERT_EQ(pages->count(), captions.size());
    for (int i = 0; i < pages->count(); ++i) {
        EXPECT_EQ(pages->tabText(i), captions[i]) << i;
        EXPECT_EQ(pages->widget(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
    }
    // The two middle dots differ: a full-width one on page 7, a half-width one on page 8.
    EXPECT_EQ(captions[6][2], QChar(0x30FB));
    EXPECT_EQ(captions[7][2], QChar(0xFF65));
    form->hide();
}

TEST_F(MainFormControls, RaceCardGridHeaderRow) {
    auto* grid = Child<race::ui::TRaceCardGrid>(*form, "StringGrid1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->parentWidget(), form->PageControl1()->widget(0));
    const std::pair<QString, int> columns[] = {
        {QStringLiteral("枠"), 25},       {QStringLiteral("馬"), 25},
        {QStringLiteral("連闘"), 35},     {QStringLiteral("馬名"), 198},
        {QStringLiteral("騎手"), 64},     {QStringLiteral("性齢"), 43},
        {QStringLiteral("斤量"), 43},     {QStringLiteral("ﾌﾞﾘﾝｶ"), 49},
        {QStringLiteral("見習区分"), 65}, {QStringLiteral("調教師"), 64},
        {QStringLiteral("画数"), 64},
    };
    ASSERT_EQ(grid->columnCount(), 11);
    for (int column = 0; column < 11; ++column) {
        ASSERT_NE(grid->horizontalHeaderItem(column), nullptr) << column;
        EXPECT_EQ(grid->horizontalHeaderItem(column)->text(), columns[column].first) << column;
        EXPECT_EQ(grid->columnWidth(column), columns[column].second) << column;
    }
    // One fixed header row, no fixed column, no runner rows yet.
    EXPECT_TRUE(grid->horizontalHeader()->isVisibleTo(grid));
    EXPECT_FALSE(grid->verticalHeader()->isVisibleTo(grid));
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(grid->horizontalHeader()->height(), 16);
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 16);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(grid->font().family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(QFontInfo(grid->font()).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(grid->font().pixelSize(), 15);
    EXPECT_TRUE(grid->font().bold());
}

TEST_F(MainFormControls, RaceHeadingLines) {
    form->Panel1()->show();
    form->show();
    RunPendingEvents();
    auto* panel2 = Child<race::ui::TRaceHeaderPanel>(*form, "Panel2");
    ASSERT_NE(panel2, nullptr);
    EXPECT_EQ(panel2->height(), 76);
    EXPECT_EQ(panel2->Colour(), QColor(0, 128, 0));
    EXPECT_EQ(panel2->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(panel2->width(), form->Panel1()->width());

    const char* names[] = {"Label1", "Label2", "Label3", "Label4", "Label5", "Label51"};
    const int textHeight = QFontMetrics(panel2->Line(0)->font()).height();
    const QRect inside = panel2->contentsRect();
    for (int i = 0; i < 6; ++i) {
        auto* label = Child<QLabel>(*form, names[i]);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label, panel2->Line(i));
        EXPECT_EQ(label->parentWidget(), panel2);
        EXPECT_EQ(label->font().pixelSize(), 12) << names[i];
        EXPECT_EQ(label->font().bold(), i < 2) << names[i];
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white)) << names[i];
        const QRect box = label->geometry();
        EXPECT_TRUE(inside.contains(box)) << names[i] << " inside the bevel";
        EXPECT_GE(box.height(), textHeight) << names[i] << " holds a whole line";
        // One line under the other, each line's text starting below the previous line's.
        EXPECT_EQ(box.top(), 1 + 12 * i) << names[i];
        if (i < 5) {
            EXPECT_EQ(box.left(), 8) << names[i];
            EXPECT_EQ(box.width(), panel2->width() - 16) << names[i] << " across the panel";
        }
    }
    // Label51 is the short line under Label5, indented to follow its text.
    const QRect line5 = panel2->Line(4)->geometry();
    const QRect line51 = panel2->Line(5)->geometry();
    EXPECT_GT(line51.left(), line5.left());
    EXPECT_EQ(line51.right(), line5.right());
    EXPECT_LT(line51.width(), line5.width());

    // All nine page captions fit the window's default width.
    QTabBar* pageTabs = form->PageControl1()->tabBar();
    EXPECT_LE(pageTabs->tabRect(8).right(), form->PageControl1()->width());
    EXPECT_TRUE(pageTabs->tabRect(8).isValid());

    // Widening the window keeps the full lines across the panel.
    form->resize(form->width() + 100, form->height());
    RunPendingEvents();
    EXPECT_EQ(panel2->Line(0)->width(), panel2->width() - 16);
    form->hide();
}

} // namespace
