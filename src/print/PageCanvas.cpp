#include "print/PageCanvas.h"

#include <cstdio>

namespace print {

void TPageRecorder::BeginDoc() {
    pages_.clear();
    pages_.emplace_back();
}

void TPageRecorder::NewPage() {
    pages_.emplace_back();
}

TRecordedPage& TPageRecorder::Page() {
    // Drawing before BeginDoc goes to a first page, as the control opens one at creation.
    if (pages_.empty()) {
        pages_.emplace_back();
    }
    return pages_.back();
}

void TPageRecorder::TextOutAt(int x, int y, std::string_view text) {
    Page().push_back({TPageOp::TKind::Text, x, y, 0, 0, std::string(text), state_});
}

void TPageRecorder::TextOutInColumn(int x, int y, std::string_view text, int width) {
    Page().push_back(
        {TPageOp::TKind::Text, x, y, 0, 0, std::string(text), state_, width > 0 ? width : 0});
}

void TPageRecorder::MoveToAt(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void TPageRecorder::LineToAt(int x, int y) {
    Page().push_back({TPageOp::TKind::Line, penX_, penY_, x, y, {}, state_});
    penX_ = x;
    penY_ = y;
}

void TPageRecorder::RectangleAt(int x1, int y1, int x2, int y2) {
    Page().push_back({TPageOp::TKind::Rectangle, x1, y1, x2, y2, {}, state_});
}

namespace {

std::string Colour(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::string Style(const TCanvasFont& font) {
    if (font.bold && font.underline) {
        return "bu";
    }
    if (font.bold) {
        return "b";
    }
    return font.underline ? "u" : "-";
}

} // namespace

std::string PageOpsText(const std::vector<TRecordedPage>& pages) {
    std::string out;
    const auto field = [&out](const std::string& value) {
        out += '\t';
        out += value;
    };
    const auto number = [&field](int value) { field(std::to_string(value)); };
    for (std::size_t i = 0; i < pages.size(); ++i) {
        out += "page\t" + std::to_string(i + 1) + "\n";
        for (const TPageOp& op : pages[i]) {
            switch (op.kind) {
            case TPageOp::TKind::Text:
                out += "text";
                number(op.x1);
                number(op.y1);
                field(op.state.font.face);
                number(op.state.font.size);
                field(Style(op.state.font));
                field(Colour(op.state.font.colour));
                field(op.text);
                if (op.width > 0) {
                    number(op.width);
                }
                break;
            case TPageOp::TKind::Line:
                out += "line";
                number(op.x1);
                number(op.y1);
                number(op.x2);
                number(op.y2);
                number(op.state.penWidth);
                break;
            case TPageOp::TKind::Rectangle:
                out += "rect";
                number(op.x1);
                number(op.y1);
                number(op.x2);
                number(op.y2);
                number(op.state.penWidth);
                field(op.state.brush.solid ? Colour(op.state.brush.colour) : "clear");
                break;
            }
            out += '\n';
        }
    }
    return out;
}

double NaturalTextWidth(std::string_view sjisText, int points) {
    return static_cast<double>(sjisText.size()) * TextHeight(points) / 2.0;
}

double TextHeight(int points) {
    return points * 254.0 / 72.0;
}

} // namespace print
