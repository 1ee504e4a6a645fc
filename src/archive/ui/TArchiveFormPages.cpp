// The archive window's two pages, their controls and connections.
#include "archive/ArchivePages.h"
#include "archive/ui/TArchiveForm.h"
#include "widgets/ui/PushButton.h"
#include "widgets/ui/QtConvert.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace archive::ui {

namespace {

using widgets::FromSjis;

using widgets::MakeButton;

} // namespace

QTableWidget* MakeListGrid(QWidget* parent, const char* name) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->horizontalHeader()->setHighlightSections(false);
    return grid;
}

namespace {

// A row of radio buttons, one per kind, the first chosen; ids are the kinds' places.
QButtonGroup* MakeKindChoice(QWidget* parent, QHBoxLayout* row, bool withCourse) {
    auto* group = new QButtonGroup(parent);
    int id = 0;
    for (const TSubjectKind kind : kSearchKinds) {
        auto* button = new QRadioButton(FromSjis(SubjectKindName(kind)), parent);
        group->addButton(button, id++);
        row->addWidget(button);
    }
    if (withCourse) {
        auto* button = new QRadioButton(QStringLiteral("競馬場・距離"), parent);
        group->addButton(button, id);
        row->addWidget(button);
    }
    group->button(0)->setChecked(true);
    return group;
}

} // namespace

QWidget* TArchiveForm::SetupSearchPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SearchSheet"));
    auto* layout = new QVBoxLayout(page);

    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(new QLabel(QStringLiteral("検索するもの:"), page));
    radioGroup1_ = MakeKindChoice(page, kindRow, false);
    kindRow->addSpacing(16);
    kindRow->addWidget(new QLabel(QStringLiteral("名前:"), page));
    edit1_ = new QLineEdit(page);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setPlaceholderText(QStringLiteral("かな・漢字、名前の一部でも可"));
    edit1_->setMinimumWidth(200);
    kindRow->addWidget(edit1_, 1);
    button1_ = MakeButton(page, "Button1", QStringLiteral("検索"));
    kindRow->addWidget(button1_);
    layout->addLayout(kindRow);

    label2_ = new QLabel(page);
    label2_->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(label2_);
    stringGrid1_ = MakeListGrid(page, "StringGrid1");
    stringGrid1_->setToolTip(QStringLiteral("ダブルクリックかEnterでそのレースを開きます"));
    stringGrid1_->installEventFilter(this);
    layout->addWidget(stringGrid1_, 1);

    auto* buttons = new QHBoxLayout;
    button2_ = MakeButton(page, "Button2", QStringLiteral("レースを開く"));
    button3_ = MakeButton(page, "Button3", QStringLiteral("成績統計"));
    button4_ = MakeButton(page, "Button4", QStringLiteral("CSV保存..."));
    for (QPushButton* button : {button2_, button3_, button4_}) {
        button->setEnabled(false);
    }
    buttons->addWidget(button2_);
    buttons->addWidget(button3_);
    buttons->addStretch(1);
    buttons->addWidget(button4_);
    layout->addLayout(buttons);

    connect(button1_, &QPushButton::clicked, this, &TArchiveForm::Button1Click);
    connect(edit1_, &QLineEdit::returnPressed, this, &TArchiveForm::Button1Click);
    connect(stringGrid1_, &QTableWidget::cellDoubleClicked, this,
            [this](int, int) { StringGrid1DblClick(); });
    connect(button2_, &QPushButton::clicked, this, &TArchiveForm::StringGrid1DblClick);
    connect(button3_, &QPushButton::clicked, this, &TArchiveForm::Button3Click);
    connect(button4_, &QPushButton::clicked, this, [this] {
        SaveCsv(hits_.table, CsvFileName("search", {SubjectKindName(hitsKind_), hitsName_}));
    });
    return page;
}

QWidget* TArchiveForm::SetupStatsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("StatsSheet"));
    auto* layout = new QVBoxLayout(page);

    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(new QLabel(QStringLiteral("統計をとるもの:"), page));
    radioGroup2_ = MakeKindChoice(page, kindRow, true);
    kindRow->addStretch(1);
    layout->addLayout(kindRow);

    auto* askRow = new QHBoxLayout;
    askRow->addWidget(new QLabel(QStringLiteral("名前:"), page));
    edit2_ = new QLineEdit(page);
    edit2_->setObjectName(QStringLiteral("Edit2"));
    edit2_->setPlaceholderText(QStringLiteral("かな・漢字、名前の一部でも可"));
    edit2_->setMinimumWidth(160);
    askRow->addWidget(edit2_, 1);
    button5_ = MakeButton(page, "Button5", QStringLiteral("検索"));
    askRow->addWidget(button5_);
    askRow->addSpacing(16);
    askRow->addWidget(new QLabel(QStringLiteral("競馬場:"), page));
    comboBox1_ = new QComboBox(page);
    comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
    for (const TCourseChoice& course : CourseChoices()) {
        comboBox1_->addItem(FromSjis(course.name), QString::fromStdString(course.code));
    }
    askRow->addWidget(comboBox1_);
    askRow->addWidget(new QLabel(QStringLiteral("距離:"), page));
    spinEdit1_ = new QSpinBox(page);
    spinEdit1_->setObjectName(QStringLiteral("SpinEdit1"));
    spinEdit1_->setRange(0, 4000);
    spinEdit1_->setSingleStep(100);
    spinEdit1_->setSuffix(QStringLiteral("m"));
    spinEdit1_->setSpecialValueText(FromSjis(DistanceChoiceText(0)));
    askRow->addWidget(spinEdit1_);
    button6_ = MakeButton(page, "Button6", QStringLiteral("表示"));
    askRow->addWidget(button6_);
    layout->addLayout(askRow);

    auto* splitter = new QSplitter(Qt::Horizontal, page);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    label3_ = new QLabel(left);
    label3_->setObjectName(QStringLiteral("Label3"));
    label3_->setWordWrap(true);
    leftLayout->addWidget(label3_);
    stringGrid2_ = MakeListGrid(left, "StringGrid2");
    stringGrid2_->installEventFilter(this);
    leftLayout->addWidget(stringGrid2_, 1);

    auto* right = new QWidget(splitter);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    label4_ = new QLabel(right);
    label4_->setObjectName(QStringLiteral("Label4"));
    QFont heading = label4_->font();
    heading.setBold(true);
    heading.setPixelSize(14);
    label4_->setFont(heading);
    auto* headingRow = new QHBoxLayout;
    headingRow->addWidget(label4_, 1);
    button7_ = MakeButton(right, "Button7", QStringLiteral("全区分をCSV保存..."));
    button7_->setEnabled(false);
    headingRow->addWidget(button7_);
    rightLayout->addLayout(headingRow);
    scrollBox1_ = new QScrollArea(right);
    scrollBox1_->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox1_->setWidgetResizable(true);
    sectionsHolder_ = new QWidget;
    auto* sections = new QVBoxLayout(sectionsHolder_);
    sections->setContentsMargins(4, 4, 4, 4);
    sections->setSpacing(0);
    sections->addStretch(1);
    scrollBox1_->setWidget(sectionsHolder_);
    rightLayout->addWidget(scrollBox1_, 1);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({240, 640});
    layout->addWidget(splitter, 1);

    RadioGroup2Click();
    connect(radioGroup2_, &QButtonGroup::idClicked, this, [this](int) { RadioGroup2Click(); });
    connect(button5_, &QPushButton::clicked, this, &TArchiveForm::Button5Click);
    connect(edit2_, &QLineEdit::returnPressed, this, &TArchiveForm::Button5Click);
    connect(stringGrid2_, &QTableWidget::cellClicked, this,
            [this](int, int) { StringGrid2Click(); });
    connect(button6_, &QPushButton::clicked, this, &TArchiveForm::Button6Click);
    connect(button7_, &QPushButton::clicked, this,
            [this] { SaveCsv(StatsTable(stats_), CsvFileName("stats", {stats_.subject})); });
    return page;
}

} // namespace archive::ui
