#include "acquisition/ui/TGetDataForm.h"

#include "files/ProgramFolder.h"
#include "jvdata/SjisText.h"
#include "widgets/ui/QtConvert.h"
#include "widgets/ui/TLabel3Dj.h"

#include <utility>

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace acquisition {

namespace {

using widgets::FromSjis;

// A font of the design: face and pixel size.
QFont DesignFont(const char* face, int pixels, bool bold = false) {
    QFont font(QString::fromUtf8(face));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The settings component of the window: the given file, or the program's own. The program's
// own file is named as the component names it (by its path, not its CP932 text), so a folder
// whose name CP932 cannot spell still leads to the right file.
settings::TIniGT MakeSettings(const std::filesystem::path& file) {
    settings::TIniGT settings;
    std::filesystem::path own = files::ProgramFile();
    own.replace_extension(".ini");
    if (file.empty() || file == own) {
        settings.Loaded();
    } else {
        settings.SetFileName(files::TextFromPath(file));
    }
    return settings;
}

// How long made-files lines wait at most before the list shows them, in milliseconds.
constexpr int kListRefreshMs = 50;

// Design size of the window.
constexpr int kDesignWidth = 423;
constexpr int kDesignHeight = 428;

} // namespace

TGetDataForm::TGetDataForm(jvlink::IJVLink& link, std::filesystem::path dataRoot,
                           widgets::IUserInteraction& ui, TGetDataFormOptions options,
                           QWidget* parent)
    : QDialog(parent), rebuildDateList_(std::move(options.rebuildDateList)),
      iniGT1_(MakeSettings(options.settingsFile)) {
    CreateControls();
    if (options.loop.follower == nullptr) {
        indexFollower_ = std::make_unique<archive::TIndexFollower>(dataRoot);
        options.loop.follower = indexFollower_.get();
    }
    control_ =
        std::make_unique<TGetDataControl>(TGetDataContext{link, ui, iniGT1_, std::move(dataRoot),
                                                          std::move(options.clock), options.loop},
                                          static_cast<IGetDataView&>(*this));
    control_->FormCreate();
}

TGetDataForm::~TGetDataForm() {
    TimerJVStatus->stop();
    control_->Abandon();
}

void TGetDataForm::CreateControls() {
    setObjectName(QStringLiteral("GetDataForm"));
    setWindowTitle(QString::fromUtf8("ＪＶデータ取込"));
    setFont(DesignFont("ＭＳ Ｐゴシック", 12));
    resize(kDesignWidth, kDesignHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(4);

    // The button bar.
    auto* bar = new QHBoxLayout();
    bar->setSpacing(4);
    ButtonStart = new QPushButton(QString::fromUtf8("データ取込み開始"), this);
    ButtonStart->setObjectName(QStringLiteral("ButtonStart"));
    ButtonCancel = new QPushButton(QString::fromUtf8("データ取込み中止"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    // Neither is the dialog's default: Enter in the date picker must not start or cancel a run.
    ButtonStart->setAutoDefault(false);
    ButtonCancel->setAutoDefault(false);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QString::fromUtf8("JVLink設定"));
    SpeedButton1->setToolTip(
        QString::fromUtf8("JRA-VAN　Data Lab.のサービスキーやデータ保存場所の設定をします"));
    SpeedButton1->setAutoRaise(true);
    for (QWidget* button : {static_cast<QWidget*>(ButtonStart), static_cast<QWidget*>(ButtonCancel),
                            static_cast<QWidget*>(SpeedButton1)}) {
        button->setMinimumHeight(25);
        button->setMinimumWidth(button->sizeHint().width() + 12);
    }
    bar->addWidget(ButtonStart);
    bar->addWidget(ButtonCancel);
    bar->addStretch(1);
    bar->addWidget(SpeedButton1);
    layout->addLayout(bar);

    // The progress text.
    ProgressLabel = new widgets::TLabel3Dj(this);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressLabel->SetAutoSize(false);
    ProgressLabel->setFont(DesignFont("ＭＳ ゴシック", 13, true));
    ProgressLabel->SetFontColor(QColor(0, 0, 255));
    ProgressLabel->SetTextStyle(widgets::TTextStyle::tsRaised);
    ProgressLabel->SetLayout(widgets::TTextLayout::tlCenter);
    ProgressLabel->setFixedHeight(22);
    ProgressLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(ProgressLabel);

    auto caption = [this](const char* text, const char* name) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setObjectName(QString::fromUtf8(name));
        return label;
    };
    auto progressBar = [this](const char* name) {
        auto* bar = new QProgressBar(this);
        bar->setObjectName(QString::fromUtf8(name));
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setFixedHeight(16);
        return bar;
    };
    Label1 = caption("ダウンロード", "Label1");
    ProgressBar1 = progressBar("ProgressBar1");
    Label2 = caption("読込み", "Label2");
    ProgressBar2 = progressBar("ProgressBar2");
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Label2);
    layout->addWidget(ProgressBar2);

    Label3 = caption("作成済みデータ", "Label3");
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(DesignFont("ＭＳ ゴシック", 12));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(Label3);
    layout->addWidget(ListBox1, 1);

    Label4 = caption("取得開始日付", "Label4");
    DateTimePicker1 = new QDateEdit(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QString::fromUtf8("yyyy'年'M'月'd'日'"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setMinimumDate(QDate(1753, 1, 1));
    DateTimePicker1->setMaximumDate(QDate(9999, 12, 31));
    auto* pickerRow = new QHBoxLayout();
    pickerRow->addWidget(DateTimePicker1);
    pickerRow->addStretch(1);
    layout->addWidget(Label4);
    layout->addLayout(pickerRow);

    // The setup proposal of an empty store: the choice beside the picker, the reason below.
    CheckBoxSetup = new QCheckBox(FromSjis(SetupChoiceText()), this);
    CheckBoxSetup->setObjectName(QStringLiteral("CheckBoxSetup"));
    CheckBoxSetup->hide();
    pickerRow->insertWidget(1, CheckBoxSetup);
    LabelSetup = new QLabel(FromSjis(SetupProposalText()), this);
    LabelSetup->setObjectName(QStringLiteral("LabelSetup"));
    LabelSetup->setWordWrap(true);
    LabelSetup->hide();
    layout->addWidget(LabelSetup);

    TimerJVStatus = new QTimer(this);
    TimerJVStatus->setObjectName(QStringLiteral("TimerJVStatus"));
    TimerJVStatus->setInterval(10);
    listRefresh_ = new QTimer(this);
    listRefresh_->setSingleShot(true);
    listRefresh_->setInterval(kListRefreshMs);

    connect(ButtonStart, &QPushButton::clicked, this, &TGetDataForm::ButtonStartClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TGetDataForm::ButtonCancelClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TGetDataForm::SpeedButton1Click);
    connect(TimerJVStatus, &QTimer::timeout, this, &TGetDataForm::TimerJVStatusTimer);
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TGetDataForm::DateTimePicker1Change);
    connect(listRefresh_, &QTimer::timeout, this, &TGetDataForm::ShowPendingLines);
    connect(CheckBoxSetup, &QCheckBox::toggled, this, &TGetDataForm::CheckBoxSetupClick);
}

// ---- Event handlers -------------------------------------------------------------------------

void TGetDataForm::ButtonStartClick() {
    control_->ButtonStartClick();
}

void TGetDataForm::ButtonCancelClick() {
    control_->ButtonCancelClick();
}

void TGetDataForm::SpeedButton1Click() {
    control_->SpeedButton1Click();
}

void TGetDataForm::TimerJVStatusTimer() {
    control_->TimerJVStatusTimer();
}

void TGetDataForm::DateTimePicker1Change() {
    const QDate date = DateTimePicker1->date();
    control_->SetStartDate(date.year(), date.month(), date.day());
}

void TGetDataForm::CheckBoxSetupClick() {
    control_->SetSetup(CheckBoxSetup->isChecked());
}

void TGetDataForm::done(int result) {
    if (!control_->FormCloseQuery()) {
        return;
    }
    QDialog::done(result);
}

// ---- What the control shows ---------------------------------------------------------------

void TGetDataForm::ProgressText(const std::string& text) {
    ShowPendingLines(); // the lines of a file before the text that ends it
    ProgressLabel->SetCaptionSjis(text);
    emit ProgressTextShown(ProgressLabel->Caption());
}

void TGetDataForm::DownloadBarMax(int max) {
    ProgressBar1->setMaximum(max);
}

void TGetDataForm::DownloadBar(int position) {
    ProgressBar1->setValue(position);
}

void TGetDataForm::ReadingBarMax(int max) {
    ProgressBar2->setMaximum(max);
}

void TGetDataForm::ReadingBar(int position) {
    ProgressBar2->setValue(position);
}

void TGetDataForm::ClearMadeFiles() {
    pendingLines_.clear();
    listRefresh_->stop();
    ListBox1->clear();
}

void TGetDataForm::MadeFile(const std::string& line) {
    pendingLines_.append(FromSjis(line));
    if (!listRefresh_->isActive()) {
        listRefresh_->start();
    }
}

void TGetDataForm::ShowPendingLines() {
    listRefresh_->stop();
    if (pendingLines_.isEmpty()) {
        return;
    }
    ListBox1->addItems(pendingLines_);
    pendingLines_.clear();
    // Lay the list out now, not at its next idle moment, which a running read loop never gives.
    ListBox1->doItemsLayout();
}

void TGetDataForm::ShowStartTime(const store::TLocalDateTime& time) {
    const QSignalBlocker blocker(DateTimePicker1);
    DateTimePicker1->setDate(QDate(time.year, time.month, time.day));
}

void TGetDataForm::ShowSetup(bool offered, bool chosen) {
    const QSignalBlocker blocker(CheckBoxSetup);
    CheckBoxSetup->setChecked(chosen);
    CheckBoxSetup->setVisible(offered);
    LabelSetup->setVisible(offered);
}

void TGetDataForm::StartStatusTimer() {
    TimerJVStatus->start();
}

void TGetDataForm::StopStatusTimer() {
    TimerJVStatus->stop();
}

void TGetDataForm::BusyPointer(bool busy) {
    if (busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void TGetDataForm::RunningChanged(bool running) {
    ShowPendingLines();
    ButtonStart->setEnabled(!running);
    CheckBoxSetup->setEnabled(!running);
}

void TGetDataForm::RebuildDateList() {
    if (rebuildDateList_) {
        rebuildDateList_();
    }
}

void TGetDataForm::CloseLater() {
    QTimer::singleShot(0, this, [this] { close(); });
}

void ShowGetDataForm(jvlink::IJVLink& link, std::filesystem::path dataRoot,
                     widgets::IUserInteraction& ui, TGetDataFormOptions options, QWidget* parent) {
    auto* form = new TGetDataForm(link, std::move(dataRoot), ui, std::move(options), parent);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->exec();
}

} // namespace acquisition
