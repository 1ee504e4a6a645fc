#include "print/ui/TAllPrintForm.h"

#include "files/ProgramFolder.h"
#include "jvdata/SjisText.h"
#include "print/Newspaper.h"
#include "print/ui/PagePrinting.h"
#include "print/ui/PrinterSetup.h"
#include "settings/WindowBounds.h"
#include "widgets/ui/FileDialogs.h"
#include "widgets/ui/PushButton.h"
#include "widgets/ui/QtUserInteraction.h"

#include <array>

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace print::ui {

namespace {

constexpr std::string_view kZoomSection = "PrintZoom";
constexpr std::string_view kZoomKey = "ratio";
constexpr int kDefaultZoomChoice = 1;
constexpr std::array<int, 4> kZoomSteps = {25, 50, 75, 100};
// Where PrevX1 sits in the scroll box.
constexpr int kPrevXLeft = 4;
constexpr int kPrevXTop = 4;

settings::TIniGT MakeSettings(const std::filesystem::path& file) {
    settings::TIniGT settings;
    if (file.empty()) {
        settings.Loaded();
    } else {
        settings.SetFileName(files::TextFromPath(file));
    }
    return settings;
}

using widgets::MakeButton;

} // namespace

// ---- TUpDown ------------------------------------------------------------------------------

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::LeftArrow);
    down_->setAutoRepeat(true);
    shown_ = new QLabel(this);
    shown_->setAlignment(Qt::AlignCenter);
    shown_->setMinimumWidth(24);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::RightArrow);
    up_->setAutoRepeat(true);
    layout->addWidget(down_);
    layout->addWidget(shown_);
    layout->addWidget(up_);
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    ShowPosition();
}

void TUpDown::SetMin(int min) {
    min_ = min;
    if (max_ < min_) {
        max_ = min_;
    }
    SetPosition(position_);
}

void TUpDown::SetMax(int max) {
    max_ = max;
    if (min_ > max_) {
        min_ = max_;
    }
    SetPosition(position_);
}

void TUpDown::SetPosition(int position) {
    position_ = std::clamp(position, min_, max_);
    ShowPosition();
}

void TUpDown::Step(int by) {
    const int before = position_;
    SetPosition(position_ + by);
    if (position_ != before) {
        emit Click();
    }
}

void TUpDown::ShowPosition() {
    shown_->setText(QString::number(position_));
}

// ---- TAllPrintForm ------------------------------------------------------------------------

TAllPrintForm::TAllPrintForm(TAllPrintFormSetup setup, QWidget* parent)
    : QDialog(parent), setup_(std::move(setup)),
      printer_(setup_.printer != nullptr ? *setup_.printer : print::ui::ProgramPrinter()),
      iniGT1_(MakeSettings(setup_.settingsFile)) {
    setObjectName(QStringLiteral("AllPrintForm"));
    setWindowTitle(QStringLiteral("全買い目印刷"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont windowFont(QStringLiteral("ＭＳ Ｐゴシック"));
    windowFont.setPixelSize(12);
    setFont(windowFont);
    resize(619, 584);
    if (setup_.interaction == nullptr) {
        ownInteraction_ = std::make_unique<widgets::QtUserInteraction>(this);
        interaction_ = ownInteraction_.get();
    } else {
        interaction_ = setup_.interaction;
    }

    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setFixedHeight(61);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(8, 4, 8, 4);
    topLayout->setSpacing(6);
    auto* selector = new QVBoxLayout;
    selector->setSpacing(2);
    label1_ = new QLabel(QStringLiteral("ﾍﾟｰｼﾞ選択"), top);
    label1_->setObjectName(QStringLiteral("Label1"));
    upDown1_ = new TUpDown(top);
    upDown1_->setObjectName(QStringLiteral("UpDown1"));
    selector->addWidget(label1_);
    selector->addWidget(upDown1_);
    topLayout->addLayout(selector);
    bitBtn2_ = MakeButton(top, "BitBtn2", QStringLiteral("印刷(&P)"));
    bitBtn5_ = MakeButton(top, "BitBtn5", QStringLiteral("表示ﾍﾟｰｼﾞ印刷(&P)"));
    bitBtn7_ = MakeButton(top, "BitBtn7", QStringLiteral("全ﾍﾟｰｼﾞ印刷(&P)"));
    bitBtn3_ = MakeButton(top, "BitBtn3", QStringLiteral("ﾌﾟﾘﾝﾀ設定(&S)"));
    bitBtn1_ = MakeButton(top, "BitBtn1", QStringLiteral("閉じる"));
    for (QPushButton* button : {bitBtn2_, bitBtn5_, bitBtn7_, bitBtn3_, bitBtn1_}) {
        topLayout->addWidget(button);
    }
    topLayout->addStretch(1);
    radioGroup1_ = new QGroupBox(QStringLiteral("倍率"), top);
    radioGroup1_->setObjectName(QStringLiteral("RadioGroup1"));
    auto* zoomLayout = new QHBoxLayout(radioGroup1_);
    zoomLayout->setContentsMargins(6, 0, 6, 2);
    zoomButtons_ = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(kZoomSteps.size()); ++i) {
        auto* button = new QRadioButton(QString::number(kZoomSteps[static_cast<std::size_t>(i)]) +
                                            QStringLiteral("%"),
                                        radioGroup1_);
        zoomButtons_->addButton(button, i);
        zoomLayout->addWidget(button);
    }
    zoomButtons_->button(kDefaultZoomChoice)->setChecked(true);
    topLayout->addWidget(radioGroup1_);

    scrollBox1_ = new QScrollArea(this);
    scrollBox1_->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox1_->setWidgetResizable(false);
    sheetHolder_ = new QWidget;
    prevX1_ = new TPrevX(printer_, sheetHolder_);
    prevX1_->move(kPrevXLeft, kPrevXTop);
    prevX1_->SetZoomScale(kZoomSteps[kDefaultZoomChoice]);
    scrollBox1_->setWidget(sheetHolder_);
    PlacePrevX();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(scrollBox1_, 1);

    connect(prevX1_, &TPrevX::Resized, this, &TAllPrintForm::PlacePrevX);
    connect(zoomButtons_, &QButtonGroup::idClicked, this, [this] { RadioGroup1Click(); });
    connect(upDown1_, &TUpDown::Click, this, &TAllPrintForm::UpDown1Click);
    connect(bitBtn2_, &QPushButton::clicked, this, &TAllPrintForm::BitBtn2Click);
    connect(bitBtn5_, &QPushButton::clicked, this, &TAllPrintForm::BitBtn2Click);
    connect(bitBtn7_, &QPushButton::clicked, this, &TAllPrintForm::BitBtn7Click);
    connect(bitBtn3_, &QPushButton::clicked, this, &TAllPrintForm::BitBtn3Click);
    connect(bitBtn1_, &QPushButton::clicked, this, &QDialog::close);

    FormCreate();
}

TAllPrintForm::~TAllPrintForm() = default;

void TAllPrintForm::PlacePrevX() {
    sheetHolder_->resize(prevX1_->width() + 2 * kPrevXLeft, prevX1_->height() + 2 * kPrevXTop);
}

int TAllPrintForm::ZoomChoice() const {
    return zoomButtons_->checkedId();
}

void TAllPrintForm::SetZoomChoice(int choice) {
    if (choice < 0 || choice >= static_cast<int>(kZoomSteps.size()) || choice == ZoomChoice()) {
        return;
    }
    zoomButtons_->button(choice)->setChecked(true);
    RadioGroup1Click();
}

void TAllPrintForm::FormCreate() {
    const settings::TWindowBounds bounds = settings::ReadWindowBounds(
        iniGT1_, settings::kPrintPreviewBoundsSection, settings::kPrintPreviewDefaultBounds);
    move(bounds.left, bounds.top);
    resize(bounds.width, bounds.height);
    int choice = iniGT1_.ReadInteger(kZoomSection, kZoomKey, kDefaultZoomChoice);
    if (choice < 0 || choice >= static_cast<int>(kZoomSteps.size())) {
        // Not one of the four steps: the window's own choice.
        choice = kDefaultZoomChoice;
    }
    SetZoomChoice(choice);
}

void TAllPrintForm::RadioGroup1Click() {
    const int choice = ZoomChoice();
    if (choice < 0) {
        return;
    }
    prevX1_->SetZoomScale(kZoomSteps[static_cast<std::size_t>(choice)]);
    // The zoom is only a preference: a settings file that cannot be written keeps the last one.
    (void)iniGT1_.WriteInteger(kZoomSection, kZoomKey, choice);
}

void TAllPrintForm::UpDown1Click() {
    prevX1_->ShowPage(upDown1_->Position());
}

void TAllPrintForm::BitBtn2Click() {
    // The page shown, and only it: a selector beyond the last page shows (and so prints) the
    // page that stays on screen.
    prevX1_->SelectShownPage();
    PrintSelected();
}

void TAllPrintForm::BitBtn7Click() {
    prevX1_->SetPrintFrom(upDown1_->Min());
    prevX1_->SetPrintTo(upDown1_->Max());
    PrintSelected();
}

void TAllPrintForm::BitBtn3Click() {
    if (setup_.printerSetup) {
        setup_.printerSetup(printer_, this);
    } else {
        print::ui::ShowPrinterSetup(printer_, this);
    }
    prevX1_->update();
}

void TAllPrintForm::PrintSelected() {
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        const QString file = setup_.askPdfFileName
                                 ? setup_.askPdfFileName(this)
                                 : widgets::AskSaveFileName(
                                       this, QStringLiteral("PDFファイルに印刷"),
                                       printer_.outputFileName(), QStringLiteral("PDF (*.pdf)"));
        if (file.isEmpty()) {
            return;
        }
        printer_.setOutputFileName(file);
    }
    try {
        prevX1_->PrintPages();
    } catch (const EPrevError& error) {
        ReportError(error.what());
    }
}

void TAllPrintForm::ReportError(const std::string& sjisText) {
    interaction_->ErrorBox(sjisText);
}

void TAllPrintForm::FormCloseQuery() {
    const settings::TWindowBounds bounds{x(), y(), width(), height()};
    if (const settings::TIniGTStatus status =
            settings::WriteWindowBounds(iniGT1_, settings::kPrintPreviewBoundsSection, bounds);
        !status) {
        ReportError(status.message);
    }
}

void TAllPrintForm::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        FormCloseQuery();
    }
    event->accept();
    QDialog::closeEvent(event);
}

void TAllPrintForm::done(int result) {
    // Escape and the close button end here too: the bounds are kept however the window closes.
    if (!closing_) {
        closing_ = true;
        FormCloseQuery();
    }
    QDialog::done(result);
}

QString NewspaperPreviewCaption() {
    return QStringLiteral("Tomberly＆競馬新聞 for JRA-VAN Data Lab.　出馬表印刷");
}

void ShowNewspaperPreview(const race::TRaceDayData& day, TAllPrintFormSetup setup,
                          QWidget* parent) {
    auto* form = new TAllPrintForm(std::move(setup), parent);
    form->setAttribute(Qt::WA_DeleteOnClose);
    try {
        form->PrevX1()->BeginDoc();
    } catch (...) {
        delete form;
        throw;
    }
    const std::vector<int> drawn = DrawNewspaper(day, form->PrevX1()->PageCanvas());
    form->PrevX1()->EndDoc();
    if (!drawn.empty()) {
        form->setWindowTitle(NewspaperPreviewCaption());
    }
    form->UpDown1()->SetMax(day.RaceCount);
    form->UpDown1()->SetMin(1);
    form->UpDown1()->SetPosition(1);
    form->UpDown1()->setVisible(true);
    form->BitBtn2()->setVisible(false);
    form->exec();
}

} // namespace print::ui
