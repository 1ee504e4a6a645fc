// The main window's menus and tool bar, and the connections of its commands.
#include "shell/ui/TMainForm.h"
#include "shell/ui/ToolGlyphs.h"

#include <QFont>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QToolTip>

namespace shell::ui {

namespace {

// Height of the tool bar, and of its buttons.
constexpr int kSpeedBarHeight = 29;
constexpr int kButtonTop = 2;
constexpr int kButtonHeight = 25;
constexpr int kGlyphButtonWidth = 25;

QFont BoldFont(const QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    return font;
}

// A hint shows on the status line and, for a tool bar button, as its tool tip.
void SetHint(QToolButton* button, const QString& hint) {
    button->setToolTip(hint);
    button->setStatusTip(hint);
}

QToolButton* MakeButton(QWidget* bar, const char* name, const QRect& bounds) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(bounds);
    return button;
}

} // namespace

void TMainForm::SetupMenus() {
    QMenuBar* mainMenu = menuBar();
    mainMenu->setObjectName(QStringLiteral("MainMenu"));

    QMenu* fileMenu = mainMenu->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    fileMenu->setObjectName(QStringLiteral("FileMenu"));
    const auto addItem = [this](QMenu* menu, const char* name, const QString& caption,
                                const QString& hint) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        item->setStatusTip(hint);
        return item;
    };
    j1_ = addItem(fileMenu, "J1", QStringLiteral("ＪＶデータ取得(&J)"),
                  QStringLiteral("JRA-VANからJVデータを取得します"));
    fileMenu->addSeparator();
    filePrintItem_ = addItem(fileMenu, "FilePrintItem", QStringLiteral("競馬新聞印刷(&P)..."),
                             QStringLiteral("競馬新聞を印刷します"));
    filePrintSetupItem_ =
        addItem(fileMenu, "FilePrintSetupItem", QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."),
                QStringLiteral("ﾌﾟﾘﾝﾀの設定を変更します"));
    fileMenu->addSeparator();
    csvMenu_ = fileMenu->addMenu(QStringLiteral("CSVに保存(&V)"));
    csvMenu_->setObjectName(QStringLiteral("CsvMenu"));
    csvCardItem_ = addItem(csvMenu_, "CsvCardItem", QStringLiteral("出馬表(&C)..."),
                           QStringLiteral("表示中のレースの出馬表をCSVファイルに保存します"));
    csvResultsItem_ =
        addItem(csvMenu_, "CsvResultsItem", QStringLiteral("成績・払戻(&R)..."),
                QStringLiteral("表示中のレースの成績と払戻をCSVファイルに保存します"));
    csvTimesItem_ =
        addItem(csvMenu_, "CsvTimesItem", QStringLiteral("タイム計算表(&T)..."),
                QStringLiteral("表示中のレースのタイム計算表をCSVファイルに保存します"));
    fileMenu->addSeparator();
    fileExitItem_ =
        addItem(fileMenu, "FileExitItem", QStringLiteral("終了(&X)"), QStringLiteral("終了"));

    QMenu* searchMenu = mainMenu->addMenu(QStringLiteral("検索(&S)"));
    searchMenu->setObjectName(QStringLiteral("SearchMenu"));
    searchItem_ = addItem(searchMenu, "SearchItem", QStringLiteral("出走検索(&S)..."),
                          QStringLiteral("馬・騎手・調教師・種牡馬の出走を名前で探します"));
    searchItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    statsItem_ =
        addItem(searchMenu, "StatsItem", QStringLiteral("成績統計(&T)..."),
                QStringLiteral("馬・騎手・調教師・種牡馬、競馬場と距離の成績を集計します"));
    statsItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));

    QMenu* helpMenu = mainMenu->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    helpMenu->setObjectName(QStringLiteral("HelpMenu"));
    helpContentsItem_ =
        addItem(helpMenu, "HelpContentsItem", QStringLiteral("目次(&C)"), QStringLiteral("目次"));
    helpMenu->addSeparator();
    helpAboutItem_ = addItem(helpMenu, "HelpAboutItem", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."),
                             QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));

    connect(j1_, &QAction::triggered, this, &TMainForm::J1Click);
    connect(filePrintItem_, &QAction::triggered, this, &TMainForm::FilePrintItemClick);
    connect(filePrintSetupItem_, &QAction::triggered, this, &TMainForm::FilePrintSetupItemClick);
    connect(fileExitItem_, &QAction::triggered, this, &TMainForm::FileExitItemClick);
    connect(csvMenu_, &QMenu::aboutToShow, this, &TMainForm::UpdateCsvItems);
    connect(csvCardItem_, &QAction::triggered, this, &TMainForm::CsvCardItemClick);
    connect(csvResultsItem_, &QAction::triggered, this, &TMainForm::CsvResultsItemClick);
    connect(csvTimesItem_, &QAction::triggered, this, &TMainForm::CsvTimesItemClick);
    UpdateCsvItems();
    connect(searchItem_, &QAction::triggered, this, &TMainForm::SearchItemClick);
    connect(statsItem_, &QAction::triggered, this, &TMainForm::StatsItemClick);
    connect(helpContentsItem_, &QAction::triggered, this, &TMainForm::HelpContentsItemClick);
    connect(helpAboutItem_, &QAction::triggered, this, &TMainForm::HelpAboutItemClick);
}

void TMainForm::SetupSpeedBar() {
    speedBar_ = new QFrame(this);
    speedBar_->setObjectName(QStringLiteral("SpeedBar"));
    speedBar_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    speedBar_->setFixedHeight(kSpeedBarHeight);

    jvBtn_ = MakeButton(speedBar_, "JVBtn", QRect(2, kButtonTop, 109, kButtonHeight));
    jvBtn_->setText(QStringLiteral("JVデータ取得"));
    jvBtn_->setFont(BoldFont(this));
    SetHint(jvBtn_, j1_->statusTip());

    dateCombo_ = new QComboBox(speedBar_);
    dateCombo_->setObjectName(QStringLiteral("DateCombo"));
    dateCombo_->setEditable(false); // a drop-down list: entries are chosen, never typed
    dateCombo_->setFont(BoldFont(this));
    dateCombo_->setMaxVisibleItems(36);
    dateCombo_->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    dateCombo_->setGeometry(114, 3, 163, 23);
    QPalette tipColours = dateCombo_->palette();
    const QColor tipBackground = QToolTip::palette().color(QPalette::ToolTipBase);
    tipColours.setColor(QPalette::Base, tipBackground);
    tipColours.setColor(QPalette::Button, tipBackground);
    tipColours.setColor(QPalette::Text, QToolTip::palette().color(QPalette::ToolTipText));
    dateCombo_->setPalette(tipColours);
    dateCombo_->setToolTip(QStringLiteral("開催日と競馬場を選びます"));
    dateCombo_->setStatusTip(dateCombo_->toolTip());

    speedButton2_ =
        MakeButton(speedBar_, "SpeedButton2", QRect(281, kButtonTop, 73, kButtonHeight));
    speedButton2_->setText(QStringLiteral("新聞印刷"));
    speedButton2_->setFont(BoldFont(this));
    SetHint(speedButton2_, QStringLiteral("競馬新聞を印刷します"));

    // The glyph buttons in two pairs: printer setup and exit, contents and version.
    struct Glyph {
        const char* name;
        int left;
        QIcon icon;
        QString hint;
    };
    const Glyph glyphs[] = {
        {"SpeedButton3", 358, PrinterSetupGlyph(), QStringLiteral("ﾌﾟﾘﾝﾀの設定を変更します")},
        {"SpeedButton4", 383, ExitGlyph(), QStringLiteral("終了")},
        {"SpeedButton5", 414, HelpContentsGlyph(), QStringLiteral("目次")},
        {"SpeedButton6", 439, AboutGlyph(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報")},
    };
    for (std::size_t i = 0; i < glyphButtons_.size(); ++i) {
        QToolButton* button =
            MakeButton(speedBar_, glyphs[i].name,
                       QRect(glyphs[i].left, kButtonTop, kGlyphButtonWidth, kButtonHeight));
        button->setIcon(glyphs[i].icon);
        button->setIconSize(QSize(16, 16));
        SetHint(button, glyphs[i].hint);
        glyphButtons_[i] = button;
    }

    // Pressed by the program only, never shown.
    makeDataListBtn_ =
        MakeButton(speedBar_, "MakeDataListBtn", QRect(480, kButtonTop, 73, kButtonHeight));
    makeDataListBtn_->setText(QStringLiteral("リスト作成"));
    makeDataListBtn_->hide();
    umConvertBtn_ =
        MakeButton(speedBar_, "UMConvertBtn", QRect(556, kButtonTop, 73, kButtonHeight));
    umConvertBtn_->setText(QStringLiteral("UMConvert"));
    umConvertBtn_->hide();

    connect(jvBtn_, &QToolButton::clicked, this, &TMainForm::J1Click);
    connect(speedButton2_, &QToolButton::clicked, this, &TMainForm::FilePrintItemClick);
    connect(glyphButtons_[0], &QToolButton::clicked, this, &TMainForm::FilePrintSetupItemClick);
    connect(glyphButtons_[1], &QToolButton::clicked, this, &TMainForm::FileExitItemClick);
    connect(glyphButtons_[2], &QToolButton::clicked, this, &TMainForm::HelpContentsItemClick);
    connect(glyphButtons_[3], &QToolButton::clicked, this, &TMainForm::HelpAboutItemClick);
    connect(makeDataListBtn_, &QToolButton::clicked, this, &TMainForm::MakeDataListBtnClick);

    // Commands whose windows this program does not have yet stay visible but disabled.
    SetCommandEnabled(j1_, jvBtn_, static_cast<bool>(setup_.acquireData));
    SetCommandEnabled(filePrintItem_, speedButton2_, true);
}

void TMainForm::SetCommandEnabled(QAction* item, QToolButton* button, bool enabled) {
    item->setEnabled(enabled);
    button->setEnabled(enabled);
}

void TMainForm::ShowHintAt(const QPoint& pos) {
    // As the window system's hint follows the mouse: the control under it, else the nearest
    // enclosing one with a hint. Leaving a control thus clears its hint even when the control
    // saw no leave (a list that dropped down, a progress window over it).
    QString hint;
    for (const QWidget* control = childAt(pos); control != nullptr && control != this;
         control = control->parentWidget()) {
        if (!control->statusTip().isEmpty()) {
            hint = control->statusTip();
            break;
        }
    }
    if (hint == statusLine_->currentMessage()) {
        return;
    }
    if (hint.isEmpty()) {
        statusLine_->clearMessage();
    } else {
        statusLine_->showMessage(hint);
    }
}

} // namespace shell::ui
