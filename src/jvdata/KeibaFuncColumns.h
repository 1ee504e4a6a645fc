// A code table laid out one row per code and one column per width argument, the shape of the
// race kind, grade, weekday, margin and racecourse tables. Used only by the KeibaFunc sources.
#pragma once

#include "jvdata/SjisText.h"

#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace KeibaFunc::detail {

// One row: the code as the record holds it and its text under each width, in UTF-8.
template <std::size_t N>
struct ColumnRow {
    std::string_view code;
    std::array<std::string_view, N> texts;
};

// The table converted once to Shift-JIS. Codes are compared as exact texts.
template <std::size_t N>
class ColumnTable {
public:
    // widths: the width argument of each column. fallback: the texts of an unlisted code, or
    // nothing when an unlisted code leaves the caller's text as it was.
    ColumnTable(const std::array<int, N>& widths, std::initializer_list<ColumnRow<N>> rows,
                std::optional<std::array<std::string_view, N>> fallback)
        : widths_(widths) {
        for (const ColumnRow<N>& row : rows) {
            texts_.emplace(std::string(row.code), Convert(row.texts));
        }
        if (fallback) {
            fallback_ = Convert(*fallback);
        }
    }

    // The text of code under width; nothing for a width the table has no column for, and for
    // an unlisted code when the table has no fallback.
    std::optional<std::string> operator()(std::string_view code, int width) const {
        std::size_t column = 0;
        while (column < N && widths_[column] != width) {
            ++column;
        }
        if (column == N) {
            return std::nullopt;
        }
        const auto it = texts_.find(code);
        if (it != texts_.end()) {
            return it->second[column];
        }
        if (fallback_) {
            return (*fallback_)[column];
        }
        return std::nullopt;
    }

private:
    using Texts = std::array<std::string, N>;

    static Texts Convert(const std::array<std::string_view, N>& utf8) {
        Texts texts;
        for (std::size_t i = 0; i < N; ++i) {
            texts[i] = Sjis::FromUtf8(utf8[i]);
        }
        return texts;
    }

    std::array<int, N> widths_;
    std::map<std::string, Texts, std::less<>> texts_;
    std::optional<Texts> fallback_;
};

} // namespace KeibaFunc::detail
