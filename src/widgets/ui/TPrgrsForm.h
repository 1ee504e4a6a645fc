// TPrgrsForm: the progress window shown while a race day loads.
//
// A borderless box that stays on top, centred on the screen (349 x 59 with a blue frame):
// the caption "データを読み込んでいます", the date list entry being loaded (StaticText1) and a
// smooth progress bar (ProgressBar1). It is made at start and kept for the run.
#pragma once

#include <string_view>

#include <QLabel>
#include <QProgressBar>
#include <QWidget>

namespace widgets {

class TPrgrsForm : public QWidget {
    Q_OBJECT

public:
    explicit TPrgrsForm(QWidget* parent = nullptr);

    QLabel* Label1() const { return label1_; }
    QLabel* StaticText1() const { return staticText1_; }
    QProgressBar* ProgressBar1() const { return progressBar1_; }

    // Shows the window for a load of the entry (Shift-JIS) with the bar at 0 of maximum.
    void Start(std::string_view sjisEntry, int maximum);
    // Advances the bar by one, up to its maximum.
    void StepIt();
    // Hides the window.
    void Finish();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* label1_;
    QLabel* staticText1_;
    QProgressBar* progressBar1_;
};

} // namespace widgets
