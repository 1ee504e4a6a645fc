// The race heading above the race tabs (Panel2): a sunken green panel 76 pixels high with six
// lines of white 12-pixel text, Label1 and Label2 bold, then Label3, Label4 and Label5 across
// the panel's width and the shorter Label51 under Label5, indented to follow its text.
#pragma once

#include <array>

#include <QColor>
#include <QFrame>
#include <QLabel>

namespace race::ui {

class TRaceHeaderPanel : public QFrame {
    Q_OBJECT

public:
    // Place of the lines: left margin, top of the first line, line pitch, Label51's indent.
    static constexpr int kMargin = 8;
    static constexpr int kFirstTop = 1;
    static constexpr int kLinePitch = 12;
    static constexpr int kLabel51Indent = 36;

    explicit TRaceHeaderPanel(QWidget* parent = nullptr);

    // Label1 to Label5 (index 0 to 4) and Label51 (index 5).
    QLabel* Line(int index) const { return lines_.at(static_cast<std::size_t>(index)); }
    // Sets the panel's colour (green for turf, maroon for some dirt races).
    void SetColour(const QColor& colour);
    QColor Colour() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceLines();

    std::array<QLabel*, 6> lines_{};
};

} // namespace race::ui
