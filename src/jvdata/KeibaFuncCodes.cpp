// KeibaFunc: the code tables of runners, horses, tracks and weather.
//
// Each conversion is a data table typed in UTF-8 and converted once to Shift-JIS. Codes are
// compared as the exact field text unless the table says the code is read as a number.
#include "jvdata/KeibaFunc.h"
#include "jvdata/LenientInt.h"
#include "jvdata/SjisText.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace KeibaFunc {

namespace {

// One row of a code table: the code as the record holds it and its text in UTF-8.
struct CodeRow {
    std::string_view code;
    std::string_view text;
};

// One row of a table whose code is read as a number.
struct NumberRow {
    int code;
    std::string_view text;
};

// One row of a table read as a number over a range of codes (first to last, inclusive).
struct RangeRow {
    int first;
    int last;
    std::string_view text;
};

// One row of a table with several renderings: code, width argument and text in UTF-8.
struct WidthRow {
    std::string_view code;
    int width;
    std::string_view text;
};

// A width argument a table knows, with the text of its unlisted codes in UTF-8.
struct WidthFallback {
    int width;
    std::string_view text;
};

// Codes compared as exact texts, with the fallback text for every other code.
class CodeTable {
public:
    CodeTable(std::initializer_list<CodeRow> rows, std::string_view fallback)
        : fallback_(Sjis::FromUtf8(fallback)) {
        for (const CodeRow& row : rows) {
            texts_.emplace(std::string(row.code), Sjis::FromUtf8(row.text));
        }
    }

    const std::string& operator()(std::string_view code) const {
        const auto it = texts_.find(code);
        return it == texts_.end() ? fallback_ : it->second;
    }

private:
    std::map<std::string, std::string, std::less<>> texts_;
    std::string fallback_;
};

// Codes read as numbers (lenient reader), with the fallback text for every other value.
class NumberTable {
public:
    NumberTable(std::initializer_list<NumberRow> rows, std::string_view fallback)
        : fallback_(Sjis::FromUtf8(fallback)) {
        for (const NumberRow& row : rows) {
            texts_.emplace(row.code, Sjis::FromUtf8(row.text));
        }
    }

    const std::string& operator()(std::string_view code) const {
        const auto it = texts_.find(jvdata::LenientInt(code));
        return it == texts_.end() ? fallback_ : it->second;
    }

private:
    std::map<int, std::string> texts_;
    std::string fallback_;
};

// Codes read as numbers and matched against ranges, first matching row wins.
class RangeTable {
public:
    RangeTable(std::initializer_list<RangeRow> rows, std::string_view fallback)
        : fallback_(Sjis::FromUtf8(fallback)) {
        for (const RangeRow& row : rows) {
            rows_.push_back({row.first, row.last, Sjis::FromUtf8(row.text)});
        }
    }

    const std::string& operator()(std::string_view code) const {
        const int n = jvdata::LenientInt(code);
        for (const Row& row : rows_) {
            if (n >= row.first && n <= row.last) {
                return row.text;
            }
        }
        return fallback_;
    }

private:
    struct Row {
        int first;
        int last;
        std::string text;
    };
    std::vector<Row> rows_;
    std::string fallback_;
};

// Codes compared as exact texts under one of several width arguments; nothing for a width
// the table does not know.
class WidthTable {
public:
    WidthTable(std::initializer_list<WidthRow> rows, std::initializer_list<WidthFallback> widths) {
        for (const WidthFallback& width : widths) {
            fallbacks_.emplace(width.width, Sjis::FromUtf8(width.text));
        }
        for (const WidthRow& row : rows) {
            texts_.emplace(Key{row.width, std::string(row.code)}, Sjis::FromUtf8(row.text));
        }
    }

    std::optional<std::string> operator()(std::string_view code, int width) const {
        const auto fallback = fallbacks_.find(width);
        if (fallback == fallbacks_.end()) {
            return std::nullopt;
        }
        const auto it = texts_.find(Key{width, std::string(code)});
        return it == texts_.end() ? fallback->second : it->second;
    }

private:
    using Key = std::pair<int, std::string>;
    std::map<Key, std::string> texts_;
    std::map<int, std::string> fallbacks_;
};

} // namespace

std::string WeightTypeName(std::string_view code) {
    static const CodeTable table({{"1", "ﾊﾝﾃﾞ"}, {"2", "別定"}, {"3", "馬齢"}, {"4", "定量"}}, "");
    return table(code);
}

std::string TrackName(std::string_view code) {
    static const NumberTable table(
        {
            {10, "芝 直線"},
            {11, "芝 左回り"},
            {12, "芝 左回り 外回り"},
            {13, "芝 左回り 内→外回り"},
            {14, "芝 左回り 外→内回り"},
            {15, "芝 左回り 内２周"},
            {16, "芝 左回り 外２周"},
            {17, "芝 右回り"},
            {18, "芝 右回り 外回り"},
            {19, "芝 右回り 内→外回り"},
            {20, "芝 右回り 外→内回り"},
            {21, "芝 右回り 内２周"},
            {22, "芝 右回り 外２周"},
            {23, "ﾀﾞｰﾄ 左回り"},
            {24, "ﾀﾞｰﾄ 右回り"},
            {25, "ﾀﾞｰﾄ 左回り 内回り"},
            {26, "ﾀﾞｰﾄ 右回り 外回り"},
            {27, "ｻﾝﾄﾞ 左回り"},
            {28, "ｻﾝﾄﾞ 右回り"},
            {29, "ﾀﾞｰﾄ 直線"},
            {51, "障害 芝　襷"},
            {52, "障害 芝→ﾀﾞｰﾄ"},
            {53, "障害 芝　左"},
            {54, "障害 芝"},
            {55, "障害 芝 外回り"},
            {56, "障害 芝 外→内回り"},
            {57, "障害 芝 内→外回り"},
            {58, "障害 内２周"},
            {59, "障害 外２周"},
        },
        "");
    return table(code);
}

std::string TrackShortName(std::string_view code) {
    // Sand and inner/outer dirt courses (25 to 28) have no short name.
    static const RangeTable table({{10, 10, "芝直"},
                                   {11, 16, "芝左"},
                                   {17, 22, "芝右"},
                                   {23, 23, "ダ左"},
                                   {24, 24, "ダ右"},
                                   {29, 29, "ダ直"},
                                   {51, 59, "障害"}},
                                  "");
    return table(code);
}

std::string WeatherName(std::string_view code) {
    static const CodeTable table(
        {{"1", "晴"}, {"2", "曇"}, {"3", "雨"}, {"4", "小雨"}, {"5", "雪"}, {"6", "小雪"}}, "");
    return table(code);
}

std::string SexName(std::string_view code) {
    static const CodeTable table({{"1", "牡"}, {"2", "牝"}, {"3", "ｾﾝ"}}, "");
    return table(code);
}

std::string CoatColourName(std::string_view code) {
    static const CodeTable table({{"01", "栗毛"},
                                  {"02", "栃栗毛"},
                                  {"03", "鹿毛"},
                                  {"04", "黒鹿毛"},
                                  {"05", "青鹿毛"},
                                  {"06", "青毛"},
                                  {"07", "芦毛"},
                                  {"08", "栗粕毛"},
                                  {"09", "鹿粕毛"},
                                  {"10", "青粕毛"},
                                  {"11", "白毛"}},
                                 "－");
    return table(code);
}

std::string HorseSymbolText(std::string_view code) {
    static const NumberTable table(
        {
            {1, "(抽)"},          {2, "[抽]"},      {3, "(父)"},          {4, "(市)"},
            {5, "(地)"},          {6, "(外)"},      {7, "(父)(抽)"},      {8, "(父)(市)"},
            {9, "(父)(地)"},      {10, "(市)(地)"}, {11, "(外)(地)"},     {12, "(父)(市)(地)"},
            {15, "(招)"},         {16, "(招)(外)"}, {17, "(招)(父)"},     {18, "(招)(市)"},
            {19, "(招)(父)(市)"}, {20, "(父)(外)"}, {21, "[地]"},         {22, "(外)[地]"},
            {23, "(父)[地]"},     {24, "(市)[地]"}, {25, "(父)(市)[地]"}, {26, "[外]"},
            {27, "(父)[外]"},     {31, "(特)"},     {40, "(父)(外)(地)"}, {41, "(父)(外)[地]"},
        },
        "　");
    return table(code);
}

std::string RecordKindText(std::string_view code) {
    static const CodeTable table(
        {{"1", "(基準ﾀｲﾑ)"}, {"2", "(ﾚｺｰﾄﾞﾀｲﾑ)"}, {"3", "(参考ﾀｲﾑ)"}, {"4", "(備考ﾀｲﾑ)"}}, "");
    return table(code);
}

std::string AbnormalityName(std::string_view code) {
    // Every text is 8 bytes so the past-run line keeps its columns.
    static const CodeTable table({{"1", "出走取消"},
                                  {"2", "発走除外"},
                                  {"3", "競争除外"},
                                  {"4", "競争中止"},
                                  {"5", "失格    "},
                                  {"6", "落馬再騎"},
                                  {"7", "降着　　"}},
                                 "        ");
    return table(code);
}

std::string BlinkerText(std::string_view code) {
    static const CodeTable table({{"1", "ﾌﾞﾘﾝ"}}, " ");
    return table(code);
}

std::string ApprenticeText(std::string_view code) {
    static const CodeTable table(
        {{"1", "1kg減"}, {"2", "2kg減"}, {"3", "3kg減"}, {"4", "4kg減"}, {"9", "2kg減"}}, "　");
    return table(code);
}

std::optional<std::string> GoingName(std::string_view code, int width) {
    // Width 0 is the bare going, 1 and 2 name the turf or dirt course with it.
    static const WidthTable table(
        {
            {"1", 0, "良"},
            {"2", 0, "稍重"},
            {"3", 0, "重"},
            {"4", 0, "不良"},
            {"1", 1, "芝:良"},
            {"2", 1, "芝:稍重"},
            {"3", 1, "芝:重"},
            {"4", 1, "芝:不良"},
            {"1", 2, "ダ:良"},
            {"2", 2, "ダ:稍重"},
            {"3", 2, "ダ:重"},
            {"4", 2, "ダ:不良"},
        },
        {{0, ""}, {1, ""}, {2, ""}});
    return table(code, width);
}

std::optional<std::string> BreedName(std::string_view code, int width) {
    // Width 1 is the short breed name of the profile, 9 the full one in half-width kana.
    static const WidthTable table(
        {
            {"1", 1, "サラ"},
            {"2", 1, "サラ系"},
            {"3", 1, "準サラ"},
            {"4", 1, "軽半"},
            {"5", 1, "アア"},
            {"6", 1, "アラ系"},
            {"7", 1, "アラブ"},
            {"8", 1, "中半"},
            {"1", 9, "ｻﾗﾌﾞﾚｯﾄﾞ"},
            {"2", 9, "ｻﾗﾌﾞﾚｯﾄﾞ系種"},
            {"3", 9, "準ｻﾗﾌﾞﾚｯﾄﾞ"},
            {"4", 9, "軽半血種"},
            {"5", 9, "ｱﾝｸﾞﾛｸﾗﾌﾞ"},
            {"6", 9, "ｱﾗﾌﾞ系種"},
            {"7", 9, "ｱﾗﾌﾞ"},
            {"8", 9, "中半血種"},
        },
        {{1, ""}, {9, ""}});
    return table(code, width);
}

} // namespace KeibaFunc
