// Substitutes for the Windows Japanese font faces the windows and the printed page ask for.
//
// The windows name their faces as a Japanese Windows system does ("ＭＳ ゴシック",
// "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝"). Where the system lacks a face, Qt is told to use the IPA
// face of the same design (fixed-pitch Gothic, proportional Gothic, proportional Mincho), then
// Noto Sans CJK JP; on Windows the romanised name of the face comes first. In the fixed-pitch
// face a half-width character is exactly half a full-width one, so Shift-JIS byte widths line
// up on screen.
#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

namespace widgets {

// A face and the faces used in its place, in order of preference.
struct TFontSubstitute {
    QString face;
    QStringList substitutes;
    friend bool operator==(const TFontSubstitute&, const TFontSubstitute&) = default;
};

// The substitutes wanted for the faces this system lacks: hasFamily tells whether a face is
// installed; windows adds the romanised names ("MS Gothic", "MS PGothic", "MS PMincho").
std::vector<TFontSubstitute>
FontSubstitutesFor(const std::function<bool(const QString&)>& hasFamily, bool windows);

// Registers the substitutes for the faces missing here (through QFontDatabase) and returns
// them. Call once, right after the application object is made and before any window or font
// is: the font matching of every later font then finds the substitutes.
std::vector<TFontSubstitute> RegisterFontSubstitutes();

} // namespace widgets
