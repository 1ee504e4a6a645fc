// TArchiveForm: the archive window, search and statistics over the whole store.
//
// Two pages. "出走検索": a kind (馬 / 騎手 / 調教師 / 種牡馬) and a name or part of one (kana or
// kanji) list the runs of every matching subject, newest first; a double-click or Enter on a
// run opens that race day in the main window at that race and that horse, "成績統計" shows the
// statistics of the run's subject. "成績統計": a subject found by name (or a racecourse and
// distance) and its statistics, one grid per section under its heading. Every list can be
// saved as a CSV file.
//
// The window asks the store's index, opened (and built when it is missing or damaged) as the
// window first shows, under a wait cursor. Without an index the window says why on its top
// line and stays open; each search tries to open the index again. It keeps its bounds in the
// settings file and frees itself when closed.
#pragma once

#include "archive/ArchiveQueries.h"
#include "files/TextTable.h"
#include "settings/TIniGT.h"
#include "widgets/UserInteraction.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QWidget>

namespace archive::ui {

// The store's index as the window gets it.
struct TIndexOpening {
    std::shared_ptr<const TStoreIndex> index; // null when there is none to ask
    std::string message; // CP932: why there is none, or what was done to it; empty when well
};

// What the window is made with.
struct TArchiveFormSetup {
    // The data root folder of the store.
    std::filesystem::path dataRoot;
    // The settings file; empty for the program's own.
    std::filesystem::path settingsFile;
    // Who shows boxes and lets pending events run; not owned, outlives the window.
    widgets::IUserInteraction* interaction = nullptr;
    // Opens the store's index; empty for the program's own (built when missing or damaged).
    std::function<TIndexOpening(const std::filesystem::path& dataRoot)> openIndex;
    // Opens a listed run's day in the main window at its race and horse.
    std::function<void(const TRunPlace&)> openRun;
    // Saves a list as a CSV file, asking its name and encoding; empty for the program's dialog.
    std::function<bool(QWidget* parent, const files::TTextTable&, const QString& name)> saveCsv;
};

class TArchiveForm : public QWidget {
    Q_OBJECT

public:
    // The pages of PageControl1.
    static constexpr int kSearchPage = 0;
    static constexpr int kStatsPage = 1;

    explicit TArchiveForm(TArchiveFormSetup setup, QWidget* parent = nullptr);
    ~TArchiveForm() override;

    QTabWidget* PageControl1() const { return pageControl1_; }
    // The line over the pages: why there is no index, or what was done to it.
    QLabel* Label1() const { return label1_; }
    // 出走検索: kind, name, 検索, the summary line, the runs, and the buttons under them.
    QButtonGroup* RadioGroup1() const { return radioGroup1_; }
    QLineEdit* Edit1() const { return edit1_; }
    QPushButton* Button1() const { return button1_; }
    QLabel* Label2() const { return label2_; }
    QTableWidget* StringGrid1() const { return stringGrid1_; }
    QPushButton* Button2() const { return button2_; } // レースを開く
    QPushButton* Button3() const { return button3_; } // 成績統計
    QPushButton* Button4() const { return button4_; } // CSV保存
    // 成績統計: kind (with 競馬場・距離), name, 検索, racecourse and distance, 表示, the subject
    // list with its summary line, and the statistics with their heading.
    QButtonGroup* RadioGroup2() const { return radioGroup2_; }
    QLineEdit* Edit2() const { return edit2_; }
    QPushButton* Button5() const { return button5_; }
    QComboBox* ComboBox1() const { return comboBox1_; }
    QSpinBox* SpinEdit1() const { return spinEdit1_; }
    QPushButton* Button6() const { return button6_; }
    QLabel* Label3() const { return label3_; }
    QTableWidget* StringGrid2() const { return stringGrid2_; }
    QLabel* Label4() const { return label4_; }
    QPushButton* Button7() const { return button7_; } // every section as one CSV file
    QScrollArea* ScrollBox1() const { return scrollBox1_; }
    // The grids of the statistics shown, one per section, and each one's CSV button.
    const std::vector<QTableWidget*>& SectionGrids() const { return sectionGrids_; }
    const std::vector<QPushButton*>& SectionCsvButtons() const { return sectionCsvButtons_; }

    // What the pages list.
    const TSearchResult& Hits() const { return hits_; }
    const TSubjectList& Subjects() const { return subjects_; }
    const TStatsResult& Stats() const { return stats_; }
    // True while the window has an index to ask.
    bool HasIndex() const { return index_ != nullptr; }

    // Handlers.
    // Opens the index when the window has none: wait cursor, the top line says so meanwhile.
    bool OpenIndex();
    // 検索 on 出走検索 (and Enter in its name box): the runs of the kind and name.
    void Button1Click();
    // A double-click or Enter on a run, レースを開く: the run's day in the main window.
    void StringGrid1DblClick();
    // 成績統計 on 出走検索: the statistics of the chosen run's subject.
    void Button3Click();
    // 検索 on 成績統計 (and Enter in its name box): the subjects of the kind and name.
    void Button5Click();
    // A subject chosen in the list: its statistics.
    void StringGrid2Click();
    // 表示: the statistics of the chosen racecourse and distance.
    void Button6Click();
    // The kind of 成績統計 changed: the name or the course controls.
    void RadioGroup2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Enter on a grid opens its row.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* SetupSearchPage();
    QWidget* SetupStatsPage();
    void FormCreate();
    void FormCloseQuery();

    TSubjectKind SearchKind() const;
    TSubjectKind StatsKind() const;
    // The chosen row of a grid, -1 without one.
    static int ChosenRow(const QTableWidget& grid);
    void ShowStats(const TStatsRequest& request);
    void ClearStats();
    void SaveCsv(const files::TTextTable& table, const std::string& sjisName);

    TArchiveFormSetup setup_;
    widgets::IUserInteraction* interaction_;
    settings::TIniGT iniGT1_;
    std::shared_ptr<const TStoreIndex> index_;
    bool shownOnce_ = false;
    bool opening_ = false;
    bool closing_ = false;

    TSearchResult hits_;
    TSubjectKind hitsKind_ = TSubjectKind::Horse;
    std::string hitsName_;
    TSubjectList subjects_;
    TSubjectKind subjectsKind_ = TSubjectKind::Horse;
    TStatsResult stats_;

    QLabel* label1_ = nullptr;
    QTabWidget* pageControl1_ = nullptr;
    QButtonGroup* radioGroup1_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QPushButton* button1_ = nullptr;
    QLabel* label2_ = nullptr;
    QTableWidget* stringGrid1_ = nullptr;
    QPushButton* button2_ = nullptr;
    QPushButton* button3_ = nullptr;
    QPushButton* button4_ = nullptr;
    QButtonGroup* radioGroup2_ = nullptr;
    QLineEdit* edit2_ = nullptr;
    QPushButton* button5_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
    QSpinBox* spinEdit1_ = nullptr;
    QPushButton* button6_ = nullptr;
    QLabel* label3_ = nullptr;
    QTableWidget* stringGrid2_ = nullptr;
    QLabel* label4_ = nullptr;
    QPushButton* button7_ = nullptr;
    QScrollArea* scrollBox1_ = nullptr;
    QWidget* sectionsHolder_ = nullptr;
    std::vector<QTableWidget*> sectionGrids_;
    std::vector<QPushButton*> sectionCsvButtons_;
};

// A read-only grid of a list: whole rows chosen one at a time, no row numbers, rows of 20 pixels.
QTableWidget* MakeListGrid(QWidget* parent, const char* name);

// Fills a grid from a text table: its headings, then one read-only row per table row; figures
// aligned right.
void FillGrid(QTableWidget& grid, const files::TTextTable& table);

} // namespace archive::ui
