// Window bounds kept in the settings file: one section per window with the keys "top",
// "left", "width" and "height", in pixels.
#pragma once

#include "settings/TIniGT.h"

#include <string_view>

namespace settings {

// A window's position (left, top: its outer top-left corner on the screen) and size.
struct TWindowBounds {
    int left = 0;   // pixels from the screen's left edge
    int top = 0;    // pixels from the screen's top edge
    int width = 0;  // pixels
    int height = 0; // pixels

    friend bool operator==(const TWindowBounds&, const TWindowBounds&) = default;
};

// Section and defaults of the main window, and of the print preview window.
inline constexpr std::string_view kMainFormBoundsSection = "locate";
inline constexpr TWindowBounds kMainFormDefaultBounds{10, 10, 900, 650};
inline constexpr std::string_view kPrintPreviewBoundsSection = "Printlocate";
inline constexpr TWindowBounds kPrintPreviewDefaultBounds{10, 10, 630, 450};
// Section and defaults of the archive window (search and statistics).
inline constexpr std::string_view kArchiveFormBoundsSection = "Archivelocate";
inline constexpr TWindowBounds kArchiveFormDefaultBounds{40, 40, 900, 620};

// Values a window system can place a window at: positions within 16-bit screen coordinates,
// sizes of at least one pixel up to that limit.
inline constexpr int kMinWindowCoordinate = -32768;
inline constexpr int kMaxWindowCoordinate = 32767;

// The bounds stored in section, key by key: a missing key, a value that is not a number and a
// value a window cannot take (a size below 1 pixel, anything beyond 16-bit coordinates) give
// that key's default. Positions are not checked against the screen here: FitOnScreen moves a
// window onto its screen as it is shown.
TWindowBounds ReadWindowBounds(const TIniGT& settings, std::string_view section,
                               const TWindowBounds& defaults);

// The bounds moved onto area (a screen's free area: without task bars and docks) so that the
// whole window lies inside it: a window larger than the area is shrunk to it, then a window
// that runs past an edge is moved back in, keeping its size. A window already inside is
// returned unchanged.
TWindowBounds FitOnScreen(const TWindowBounds& window, const TWindowBounds& area);

// Stores the four keys in the order top, left, width, height; stops at the first failed write
// and returns its status.
[[nodiscard]] TIniGTStatus WriteWindowBounds(TIniGT& settings, std::string_view section,
                                             const TWindowBounds& bounds);

} // namespace settings
