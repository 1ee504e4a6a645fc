// The archive window: its life (bounds, the index) and the handlers of its two pages.
#include "archive/ui/TArchiveForm.h"

#include "archive/ArchivePages.h"
#include "archive/ui/ArchiveIndexOpening.h"
#include "files/ProgramFolder.h"
#include "jvdata/SjisText.h"
#include "settings/WindowBounds.h"
#include "widgets/ui/CsvSave.h"
#include "widgets/ui/QtConvert.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace archive::ui {

namespace {

using widgets::FromSjis;

// Holds the wait cursor while the index is opened or asked.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

widgets::IUserInteraction* Required(widgets::IUserInteraction* interaction) {
    if (interaction == nullptr) {
        throw std::invalid_argument("TArchiveForm needs a user interaction");
    }
    return interaction;
}

std::string TypedName(const QLineEdit& edit) {
    return Sjis::FromUtf8(edit.text().trimmed().toStdString());
}

} // namespace

TArchiveForm::TArchiveForm(TArchiveFormSetup setup, QWidget* parent)
    : QWidget(parent, Qt::Window), setup_(std::move(setup)),
      interaction_(Required(setup_.interaction)) {
    setObjectName(QStringLiteral("ArchiveForm"));
    setWindowTitle(QStringLiteral("出走検索・成績統計"));
    if (setup_.settingsFile.empty()) {
        iniGT1_.Loaded();
    } else {
        iniGT1_.SetFileName(files::TextFromPath(setup_.settingsFile));
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setWordWrap(true);
    label1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette notice = label1_->palette();
    notice.setColor(QPalette::Window, QColor(255, 255, 204));
    notice.setColor(QPalette::WindowText, QColor(128, 0, 0));
    label1_->setPalette(notice);
    label1_->setAutoFillBackground(true);
    label1_->setMargin(4);
    label1_->hide();
    layout->addWidget(label1_);

    pageControl1_ = new QTabWidget(this);
    pageControl1_->setObjectName(QStringLiteral("PageControl1"));
    pageControl1_->addTab(SetupSearchPage(), QStringLiteral("出走検索"));
    pageControl1_->addTab(SetupStatsPage(), QStringLiteral("成績統計"));
    layout->addWidget(pageControl1_, 1);

    FormCreate();
}

TArchiveForm::~TArchiveForm() = default;

void TArchiveForm::FormCreate() {
    const settings::TWindowBounds bounds = settings::ReadWindowBounds(
        iniGT1_, settings::kArchiveFormBoundsSection, settings::kArchiveFormDefaultBounds);
    move(bounds.left, bounds.top);
    resize(bounds.width, bounds.height);
}

void TArchiveForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_ && !event->spontaneous()) {
        shownOnce_ = true;
        // After the window has appeared, so that the user sees what it waits for.
        QTimer::singleShot(0, this, [this] { OpenIndex(); });
    }
}

bool TArchiveForm::OpenIndex() {
    if (index_) {
        return true;
    }
    if (opening_) {
        return false; // a click while the index is being opened waits for the next try
    }
    opening_ = true;
    label1_->setText(FromSjis(IndexOpeningText()));
    label1_->show();
    interaction_->ProcessEvents();
    TIndexOpening opening;
    {
        const TWaitCursor wait;
        opening = setup_.openIndex ? setup_.openIndex(setup_.dataRoot)
                                   : OpenArchiveIndex(setup_.dataRoot);
    }
    opening_ = false;
    index_ = std::move(opening.index);
    label1_->setText(FromSjis(opening.message));
    label1_->setVisible(!opening.message.empty());
    return index_ != nullptr;
}

void TArchiveForm::FormCloseQuery() {
    const settings::TWindowBounds bounds{x(), y(), width(), height()};
    if (const settings::TIniGTStatus status =
            settings::WriteWindowBounds(iniGT1_, settings::kArchiveFormBoundsSection, bounds);
        !status) {
        interaction_->ErrorBox(status.message);
    }
}

void TArchiveForm::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        FormCloseQuery();
    }
    event->accept();
    QWidget::closeEvent(event);
}

bool TArchiveForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == stringGrid1_) {
                StringGrid1DblClick();
                return true;
            }
            if (watched == stringGrid2_) {
                StringGrid2Click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

TSubjectKind TArchiveForm::SearchKind() const {
    const int id = radioGroup1_->checkedId();
    return id >= 0 && id < static_cast<int>(std::size(kSearchKinds))
               ? kSearchKinds[static_cast<std::size_t>(id)]
               : TSubjectKind::Horse;
}

TSubjectKind TArchiveForm::StatsKind() const {
    const int id = radioGroup2_->checkedId();
    return id >= 0 && id < static_cast<int>(std::size(kSearchKinds))
               ? kSearchKinds[static_cast<std::size_t>(id)]
               : TSubjectKind::Course;
}

int TArchiveForm::ChosenRow(const QTableWidget& grid) {
    const QModelIndex current = grid.currentIndex();
    return current.isValid() ? current.row() : -1;
}

// ---- 出走検索 ------------------------------------------------------------------------------

void TArchiveForm::Button1Click() {
    const TSubjectKind kind = SearchKind();
    const std::string name = TypedName(*edit1_);
    hits_ = TSearchResult{};
    hitsKind_ = kind;
    hitsName_ = name;
    if (!Sjis::TrimBlanks(name).empty() && OpenIndex()) {
        const TWaitCursor wait;
        hits_ = SearchRuns(*index_, kind, name);
    }
    FillGrid(*stringGrid1_, hits_.table);
    const bool none = hits_.table.rows.empty();
    std::string summary;
    if (Sjis::TrimBlanks(name).empty() || (none && index_ == nullptr)) {
        // Without an index the top line says why nothing was searched.
        summary = index_ || Sjis::TrimBlanks(name).empty() ? SearchSummaryText(kind, name, 0)
                                                           : std::string();
    } else if (none && !hits_.message.empty()) {
        summary = hits_.message; // none found, or the index could not be read
    } else {
        summary = SearchSummaryText(kind, name, hits_.places.size(), hits_.truncated);
    }
    label2_->setText(FromSjis(summary));
    if (!none) {
        stringGrid1_->setCurrentCell(0, 0);
    }
    button2_->setEnabled(!none);
    button3_->setEnabled(!none);
    button4_->setEnabled(!none);
}

void TArchiveForm::StringGrid1DblClick() {
    const int row = ChosenRow(*stringGrid1_);
    if (row < 0 || row >= static_cast<int>(hits_.places.size()) || !setup_.openRun) {
        return;
    }
    setup_.openRun(hits_.places[static_cast<std::size_t>(row)]);
}

void TArchiveForm::Button3Click() {
    const int row = ChosenRow(*stringGrid1_);
    if (row < 0 || row >= static_cast<int>(hits_.table.rows.size())) {
        return;
    }
    // A sire's hits name the horses: the sire is found again by the part searched for.
    std::string name = SubjectNameOfRun(hitsKind_, hits_.table, static_cast<std::size_t>(row));
    if (name.empty()) {
        name = hitsName_;
    }
    pageControl1_->setCurrentIndex(kStatsPage);
    const auto kind = std::find(std::begin(kSearchKinds), std::end(kSearchKinds), hitsKind_);
    radioGroup2_->button(static_cast<int>(kind - std::begin(kSearchKinds)))->setChecked(true);
    RadioGroup2Click();
    edit2_->setText(FromSjis(name));
    Button5Click();
    // Several subjects hold the name in theirs: the one of exactly that name, else the user's
    // choice from the list.
    if (subjects_.codes.size() > 1) {
        if (const std::optional<std::size_t> exact = SubjectRowNamed(subjects_, name)) {
            stringGrid2_->setCurrentCell(static_cast<int>(*exact), 0);
            StringGrid2Click();
        }
    }
}

// ---- 成績統計 ------------------------------------------------------------------------------

void TArchiveForm::RadioGroup2Click() {
    const bool course = StatsKind() == TSubjectKind::Course;
    edit2_->setEnabled(!course);
    button5_->setEnabled(!course);
    stringGrid2_->setEnabled(!course);
    comboBox1_->setEnabled(course);
    spinEdit1_->setEnabled(course);
    button6_->setEnabled(course);
}

void TArchiveForm::Button5Click() {
    const TSubjectKind kind = StatsKind();
    if (kind == TSubjectKind::Course) {
        return;
    }
    const std::string name = TypedName(*edit2_);
    subjects_ = TSubjectList{};
    subjectsKind_ = kind;
    if (!Sjis::TrimBlanks(name).empty() && OpenIndex()) {
        const TWaitCursor wait;
        subjects_ = FindSubjects(*index_, kind, name);
    }
    FillGrid(*stringGrid2_, subjects_.table);
    label3_->setText(index_ || Sjis::TrimBlanks(name).empty()
                         ? FromSjis(SubjectsSummaryText(kind, name, subjects_.table.rows.size()))
                         : QString());
    if (subjects_.codes.size() == 1) {
        // One subject only: its statistics at once.
        stringGrid2_->setCurrentCell(0, 0);
        StringGrid2Click();
    }
}

void TArchiveForm::StringGrid2Click() {
    const int row = ChosenRow(*stringGrid2_);
    if (row < 0 || row >= static_cast<int>(subjects_.codes.size())) {
        return;
    }
    ShowStats(TStatsRequest{subjectsKind_, subjects_.codes[static_cast<std::size_t>(row)], {}, 0});
}

void TArchiveForm::Button6Click() {
    const int choice = comboBox1_->currentIndex();
    if (choice < 0) {
        return;
    }
    TStatsRequest request;
    request.kind = TSubjectKind::Course;
    request.course = comboBox1_->itemData(choice).toString().toStdString();
    request.distance = spinEdit1_->value();
    ShowStats(request);
}

void TArchiveForm::ShowStats(const TStatsRequest& request) {
    ClearStats();
    if (!OpenIndex()) {
        return;
    }
    {
        const TWaitCursor wait;
        stats_ = Statistics(*index_, request);
    }
    label4_->setText(FromSjis(stats_.message.empty() ? stats_.subject : stats_.message));
    button7_->setEnabled(!stats_.sections.empty());
    auto* layout = static_cast<QVBoxLayout*>(sectionsHolder_->layout());
    for (std::size_t i = 0; i < stats_.sections.size(); ++i) {
        const TStatsSection& section = stats_.sections[i];
        auto* heading = new QWidget(sectionsHolder_);
        auto* row = new QHBoxLayout(heading);
        row->setContentsMargins(0, i == 0 ? 0 : 8, 0, 2);
        auto* title = new QLabel(FromSjis(section.title), heading);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        auto* csv = new QPushButton(QStringLiteral("CSV保存..."), heading);
        csv->setObjectName(QStringLiteral("SectionCsv%1").arg(i));
        csv->setAutoDefault(false);
        row->addWidget(title);
        row->addStretch(1);
        row->addWidget(csv);
        const std::string name = "SectionGrid" + std::to_string(i);
        QTableWidget* grid = MakeListGrid(sectionsHolder_, name.c_str());
        FillGrid(*grid, section.table);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        int height = grid->horizontalHeader()->height() + 2 * grid->frameWidth();
        for (int r = 0; r < grid->rowCount(); ++r) {
            height += grid->rowHeight(r);
        }
        grid->setFixedHeight(height + 2);
        layout->insertWidget(layout->count() - 1, heading);
        layout->insertWidget(layout->count() - 1, grid);
        connect(csv, &QPushButton::clicked, this, [this, i] {
            if (i < stats_.sections.size()) {
                SaveCsv(stats_.sections[i].table,
                        CsvFileName("stats", {stats_.subject, stats_.sections[i].title}));
            }
        });
        sectionGrids_.push_back(grid);
        sectionCsvButtons_.push_back(csv);
    }
}

void TArchiveForm::ClearStats() {
    stats_ = TStatsResult{};
    label4_->clear();
    button7_->setEnabled(false);
    for (QTableWidget* grid : sectionGrids_) {
        grid->deleteLater();
    }
    for (QPushButton* button : sectionCsvButtons_) {
        button->parentWidget()->deleteLater();
    }
    sectionGrids_.clear();
    sectionCsvButtons_.clear();
}

void TArchiveForm::SaveCsv(const files::TTextTable& table, const std::string& sjisName) {
    const QString name = FromSjis(sjisName);
    if (setup_.saveCsv) {
        setup_.saveCsv(this, table, name);
    } else {
        widgets::SaveTableAsCsv(this, table, name, *interaction_);
    }
}

// ---- Grids ---------------------------------------------------------------------------------

void FillGrid(QTableWidget& grid, const files::TTextTable& table) {
    grid.clear();
    grid.setColumnCount(static_cast<int>(table.columns.size()));
    grid.setRowCount(static_cast<int>(table.rows.size()));
    QStringList headings;
    for (const std::string& column : table.columns) {
        headings << FromSjis(column);
    }
    grid.setHorizontalHeaderLabels(headings);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& cells = table.rows[r];
        for (std::size_t c = 0; c < cells.size() && c < table.columns.size(); ++c) {
            auto* item = new QTableWidgetItem(FromSjis(Sjis::TrimBlanks(cells[c])));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (IsFigureCell(cells[c])) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            grid.setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    grid.resizeColumnsToContents();
}

} // namespace archive::ui
