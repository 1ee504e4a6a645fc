// TAllPrintForm: the print preview window. The producer records its pages in PrevX1, sets the
// page selector and the caption and shows the window modally; the user picks a page, a zoom,
// prints the page shown or all pages, or changes the printer. The window keeps its bounds
// ("Printlocate") and its zoom ("PrintZoom") in the settings file and frees itself when closed.
#pragma once

#include "print/ui/TPrevX.h"
#include "race/TRaceDayData.h"
#include "settings/TIniGT.h"
#include "widgets/UserInteraction.h"

#include <filesystem>
#include <functional>
#include <memory>

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

namespace print::ui {

// A page selector with a left and a right arrow and the position between them.
class TUpDown : public QWidget {
    Q_OBJECT

public:
    explicit TUpDown(QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int min);
    void SetMax(int max);
    // Kept within Min and Max; no Click.
    void SetPosition(int position);

    QToolButton* DownButton() const { return down_; }
    QToolButton* UpButton() const { return up_; }

signals:
    // An arrow moved the position (OnClick).
    void Click();

private:
    void Step(int by);
    void ShowPosition();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    QToolButton* down_ = nullptr;
    QToolButton* up_ = nullptr;
    QLabel* shown_ = nullptr;
};

// What the window is made with.
struct TAllPrintFormSetup {
    // The printer of the geometry and of printing; null for the program's printer.
    QPrinter* printer = nullptr;
    // The settings file; empty for the program's own.
    std::filesystem::path settingsFile;
    // Who shows error boxes; not owned; null for the Qt boxes.
    widgets::IUserInteraction* interaction = nullptr;
    // The printer setup dialog; empty for the system's dialog.
    std::function<bool(QPrinter&, QWidget*)> printerSetup;
    // The file a PDF printer writes, asked before each print; an empty name cancels. Empty
    // for the save dialog.
    std::function<QString(QWidget*)> askPdfFileName;
};

class TAllPrintForm : public QDialog {
    Q_OBJECT

public:
    explicit TAllPrintForm(TAllPrintFormSetup setup, QWidget* parent = nullptr);
    ~TAllPrintForm() override;

    TPrevX* PrevX1() const { return prevX1_; }
    TUpDown* UpDown1() const { return upDown1_; }
    QLabel* Label1() const { return label1_; }
    QPushButton* BitBtn1() const { return bitBtn1_; }
    QPushButton* BitBtn2() const { return bitBtn2_; }
    QPushButton* BitBtn3() const { return bitBtn3_; }
    QPushButton* BitBtn5() const { return bitBtn5_; }
    QPushButton* BitBtn7() const { return bitBtn7_; }
    QGroupBox* RadioGroup1() const { return radioGroup1_; }
    QScrollArea* ScrollBox1() const { return scrollBox1_; }
    const settings::TIniGT& IniGT1() const { return iniGT1_; }

    // The zoom selector's choice, 0 to 3 (25 %, 50 %, 75 %, 100 %); setting a new choice runs
    // RadioGroup1Click.
    int ZoomChoice() const;
    void SetZoomChoice(int choice);

    // Handlers.
    void FormCreate();
    void RadioGroup1Click();
    void UpDown1Click();
    void BitBtn2Click();
    void BitBtn7Click();
    void BitBtn3Click();
    void FormCloseQuery();

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    // Prints PrintFrom to PrintTo, asking a PDF printer for its file; errors to the user.
    void PrintSelected();
    void ReportError(const std::string& sjisText);
    void PlacePrevX();

    TAllPrintFormSetup setup_;
    QPrinter& printer_;
    settings::TIniGT iniGT1_;
    std::unique_ptr<widgets::IUserInteraction> ownInteraction_;
    widgets::IUserInteraction* interaction_ = nullptr;
    QLabel* label1_ = nullptr;
    TUpDown* upDown1_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
    QPushButton* bitBtn3_ = nullptr;
    QPushButton* bitBtn5_ = nullptr;
    QPushButton* bitBtn7_ = nullptr;
    QGroupBox* radioGroup1_ = nullptr;
    QButtonGroup* zoomButtons_ = nullptr;
    QScrollArea* scrollBox1_ = nullptr;
    QWidget* sheetHolder_ = nullptr;
    TPrevX* prevX1_ = nullptr;
    bool closing_ = false;
};

// The caption the newspaper print gives the window.
QString NewspaperPreviewCaption();

// The newspaper print of a loaded day: a new preview window over parent with one page per race
// that has runners, the selector over 1 to RaceCount, shown modally; the window frees itself.
// Throws EPrevError, before any window is shown, when the printer cannot be used.
void ShowNewspaperPreview(const race::TRaceDayData& day, TAllPrintFormSetup setup, QWidget* parent);

} // namespace print::ui
