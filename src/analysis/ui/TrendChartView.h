// One of the four chart pages' charts (Chart1 .. Chart4), drawn with Qt Charts from the chart
// data of analysis/TrendCharts.h.
//
// The chart, its axes and its series are made once, from the chart's settings; showing a
// runner or an earlier run only replaces the points. The view draws what the toolkit does not:
// the rectangles of the point series in each point's own colour (whole, also on an axis end),
// the marks of Series2 with each point's label ("2着", "なし"), and the axis titles in
// vertical writing, characters stacked top to bottom.
#pragma once

#include "analysis/TrendCharts.h"

#include <vector>

#include <QChartView>
#include <QLabel>

class QAbstractSeries;
class QBarSet;
class QCategoryAxis;
class QValueAxis;

namespace analysis::ui {

class TTrendChartView : public QChartView {
    Q_OBJECT

public:
    // A chart of the given kind with its series, axes and legend and no points; objectName is
    // "Chart1" .. "Chart4". Chart1 and Chart3 get their name box (StaticText2, StaticText5).
    explicit TTrendChartView(TChartId id, QWidget* parent = nullptr);

    // Shows the chart's points and its name box text; the series and axes are kept.
    void Show(const TChart& chart);

    // What is shown.
    const TChart& Shown() const { return shown_; }
    // The name box, or nullptr for Chart2 and Chart4.
    QLabel* NameBox() const { return nameBox_; }
    // The toolkit's series of the chart's series i (legend order).
    QAbstractSeries* SeriesAt(int i) const;
    QValueAxis* LeftAxis() const { return left_; }
    QValueAxis* RightAxis() const { return right_; }
    QCategoryAxis* BottomAxis() const { return bottom_; }

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    void SetupAxes();
    void SetupSeries();
    // The axis a series of the chart is drawn against.
    QValueAxis* AxisOf(const TChartSeries& series) const;
    void DrawVerticalTitle(QPainter& painter, const TChartAxis& axis, qreal centreX) const;

    TChart shown_;
    std::vector<QAbstractSeries*> series_;
    QBarSet* bars_ = nullptr;
    QValueAxis* left_ = nullptr;
    QValueAxis* right_ = nullptr;
    QCategoryAxis* bottom_ = nullptr;
    QLabel* nameBox_ = nullptr;
    int leftMargin_ = 0;
    int rightMargin_ = 0;
};

} // namespace analysis::ui
