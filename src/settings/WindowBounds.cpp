#include "settings/WindowBounds.h"

#include <algorithm>
#include <utility>

namespace settings {

namespace {

constexpr std::string_view kTopKey = "top";
constexpr std::string_view kLeftKey = "left";
constexpr std::string_view kWidthKey = "width";
constexpr std::string_view kHeightKey = "height";

int ReadInRange(const TIniGT& settings, std::string_view section, std::string_view key,
                int defaultValue, int lowest) {
    const int value = settings.ReadInteger(section, key, defaultValue);
    return value >= lowest && value <= kMaxWindowCoordinate ? value : defaultValue;
}

} // namespace

TWindowBounds ReadWindowBounds(const TIniGT& settings, std::string_view section,
                               const TWindowBounds& defaults) {
    TWindowBounds bounds;
    bounds.top = ReadInRange(settings, section, kTopKey, defaults.top, kMinWindowCoordinate);
    bounds.left = ReadInRange(settings, section, kLeftKey, defaults.left, kMinWindowCoordinate);
    bounds.width = ReadInRange(settings, section, kWidthKey, defaults.width, 1);
    bounds.height = ReadInRange(settings, section, kHeightKey, defaults.height, 1);
    return bounds;
}

TWindowBounds FitOnScreen(const TWindowBounds& window, const TWindowBounds& area) {
    TWindowBounds fitted = window;
    fitted.width = std::clamp(window.width, 1, std::max(1, area.width));
    fitted.height = std::clamp(window.height, 1, std::max(1, area.height));
    // The right and bottom edges first, so that a window wider than it could be still shows
    // its top-left corner, where the caption and the menu are.
    fitted.left = std::max(area.left, std::min(window.left, area.left + area.width - fitted.width));
    fitted.top = std::max(area.top, std::min(window.top, area.top + area.height - fitted.height));
    return fitted;
}

TIniGTStatus WriteWindowBounds(TIniGT& settings, std::string_view section,
                               const TWindowBounds& bounds) {
    const std::pair<std::string_view, int> values[] = {
        {kTopKey, bounds.top},
        {kLeftKey, bounds.left},
        {kWidthKey, bounds.width},
        {kHeightKey, bounds.height},
    };
    for (const auto& [key, value] : values) {
        TIniGTStatus status = settings.WriteInteger(section, key, value);
        if (!status) {
            return status;
        }
    }
    return {};
}

} // namespace settings
