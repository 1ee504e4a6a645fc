// TPrevX: the page control of the print preview. It records the pages a producer draws (as
// display lists in paper units), shows the page chosen on a picture of the printer's sheet with
// its printable area dotted, at a zoom, and prints pages on the printer.
#pragma once

#include "print/PageCanvas.h"
#include "print/PageControl.h"

#include <vector>

#include <QPixmap>
#include <QPrinter>
#include <QString>
#include <QWidget>

namespace print::ui {

class TPrevX : public QWidget {
    Q_OBJECT

public:
    // printer: the printer the geometry and printing use, not owned, outlives the control.
    explicit TPrevX(QPrinter& printer, QWidget* parent = nullptr);

    // Job title given to the printer (empty).
    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }
    int ZoomScale() const { return control_.ZoomScale(); }
    // 25 to 200, else ignored; a change resizes and repaints.
    void SetZoomScale(int percent);
    int MarginLeft() const { return control_.MarginLeft(); }
    int MarginTop() const { return control_.MarginTop(); }
    void SetMarginLeft(int units) { control_.SetMarginLeft(units); }
    void SetMarginTop(int units) { control_.SetMarginTop(units); }
    TPrevMapMode MapMode() const { return control_.MapMode(); }
    void SetMapMode(TPrevMapMode mode) { control_.SetMapMode(mode); }

    int CurrentPage() const { return control_.CurrentPage(); }
    int PageCount() const { return control_.PageCount(); }
    int PrintFrom() const { return control_.PrintFrom(); }
    int PrintTo() const { return control_.PrintTo(); }
    const TPageControl& Control() const { return control_; }

    // A new document with page 1 open for drawing. Throws EPrevError without a usable printer.
    void BeginDoc();
    // The next page. Throws EPrevError without a usable printer.
    void NewPage();
    // Ends recording (the recorder may have opened pages of its own) and repaints.
    void EndDoc();
    // The canvas of the page being recorded, in the drawing units.
    TPageRecorder& PageCanvas() { return recorder_; }
    const std::vector<TRecordedPage>& Pages() const { return recorder_.Pages(); }

    // Pixels of a pen width in tenths of a screen pixel on the current printer.
    int PenWidthFor(int width) const { return control_.PenWidthFor(width); }

    void ShowPage(int n);
    void SetPrintFrom(int n) { control_.SetPrintFrom(n); }
    void SetPrintTo(int n) { control_.SetPrintTo(n); }
    // Exactly the page shown is printed next.
    void SelectShownPage() { control_.SelectShownPage(); }
    // Prints pages PrintFrom to PrintTo. Throws EPrevError without a usable printer.
    void PrintPages();

    // The printer the control uses.
    QPrinter& Printer() { return printer_; }

    // Takes the current printer's geometry at the current zoom and sizes the control to the
    // sheet and its gap, so that a scroll box scrolls over the whole sheet.
    void UpdateGeometry();

signals:
    // The control's size changed (OnResize).
    void Resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The page shown, painted at the current zoom: scrolling and repainting only copy it.
    const QPixmap& ShownPagePicture(const TPreviewGeometry& geometry);
    void ForgetPicture() { picture_ = QPixmap(); }

    QPrinter& printer_;
    TPageControl control_;
    TPageRecorder recorder_;
    // The printer each page was recorded for: its printable area is the page's size.
    std::vector<TPrinterMetrics> pagePrinters_;
    TPrinterMetrics docPrinter_;
    QString title_;
    QPixmap picture_;
    int picturePage_ = 0;
    TPreviewGeometry pictureGeometry_;
};

} // namespace print::ui
