// KeibaFunc: race kind, grade, weekday, margin and race symbol texts.
//
// The tables are typed in UTF-8, one row per code with a column per width argument, and
// converted once to Shift-JIS. Every fixed-width text keeps the blanks that fill it out.
#include "jvdata/KeibaFunc.h"
#include "jvdata/KeibaFuncColumns.h"
#include "jvdata/LenientInt.h"
#include "jvdata/SjisText.h"

#include <cstddef>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace KeibaFunc {

namespace {

using detail::ColumnTable;

// Width of every race symbol text in bytes.
constexpr std::size_t kRaceSymbolBytes = 24;

// text padded on the right with full-width blanks to width bytes (texts here are whole
// full-width pairs, so the padding comes out exact).
std::string PadWithWideBlanks(std::string text, std::size_t width) {
    while (text.size() + Sjis::kWideBlank.size() <= width) {
        text += Sjis::kWideBlank;
    }
    return text;
}

} // namespace

std::optional<std::string> RaceKindName(std::string_view code, int width) {
    // 11-14 thoroughbred flat, 18-19 jumps, 21-24 Anglo-Arab. Width 2 is the bare age, 4 adds
    // the breed, 6 and 8 spell out "系" and "以上", 9 the breed in full.
    static const ColumnTable<5> table(
        {2, 4, 6, 8, 9},
        {
            {"11",
             {"２歳", "サラ２歳", "サラ系２歳　", "サラ系２歳　　　", "サラブレット系2歳　　　　"}},
            {"12",
             {"３歳", "サラ３歳", "サラ系３歳　", "サラ系３歳　　　", "サラブレット系3歳　　　　"}},
            {"13",
             {"３上", "サラ３上", "サラ系３歳上", "サラ系３歳以上　", "サラブレット系3歳以上　　"}},
            {"14",
             {"４上", "サラ４上", "サラ系４歳上", "サラ系４歳以上　", "サラブレット系4歳以上　　"}},
            {"18",
             {"３上", "障害３上", "障害３歳上　", "サラ障害３歳以上", "サラブレット系障害3歳以上"}},
            {"19",
             {"４上", "障害４上", "障害４歳上　", "サラ障害４歳以上", "サラブレット系障害4歳以上"}},
            {"21",
             {"２歳", "アラ２歳", "アラ系２歳　", "アラブ系２歳　　", "アラブ系2歳　　　　　　　"}},
            {"22",
             {"３歳", "アラ３歳", "アラ系３歳　", "アラブ系３歳　　", "アラブ系3歳　　　　　　　"}},
            {"23",
             {"３上", "アラ３上", "アラ系３歳上", "アラブ系３歳以上", "アラブ系3歳以上　　　　　"}},
            {"24",
             {"４上", "アラ４上", "アラ系４歳上", "アラブ系４歳以上", "アラブ系4歳以上　　　　　"}},
        },
        {{"　　　　", "　　　　", "　　　　　　", "　　　　　　　　",
          "　　　　　　　　　　　　 "}});
    return table(code, width);
}

std::optional<std::string> GradeName(std::string_view code, int width) {
    // Width 1 is the race card's grade box (5 bytes), 8 the newspaper's (3 bytes), 9 the full
    // description (18 bytes); width 2 names graded races only.
    static const ColumnTable<4> table({1, 2, 8, 9},
                                      {
                                          {"A", {"G1   ", "G1", "G1 ", "G1(平地競走)　　　"}},
                                          {"B", {"G2   ", "G2", "G2 ", "G2(平地競走)　　　"}},
                                          {"C", {"G3   ", "G3", "G3 ", "G3(平地競走)　　　"}},
                                          {"D", {"重賞 ", "", "重 ", "ｸﾞﾚｰﾄﾞのない重賞　"}},
                                          {"E", {"特別 ", "", "特 ", "重賞以外の特別競走"}},
                                          {"F", {"JG1  ", "JG1", "JG1", "JG1(障害競走)　　 "}},
                                          {"G", {"JG2  ", "JG2", "JG2", "JG2(障害競走)　　 "}},
                                          {"H", {"JG3  ", "JG3", "JG3", "JG3(障害競走)　　 "}},
                                          {"L", {"List ", "LST", "LST", "リステッド　　　　"}},
                                      },
                                      {{"　　 ", "", "　 ", "　　　　　　　　　"}});
    return table(code, width);
}

std::optional<std::string> WeekdayName(std::string_view code, int width) {
    // The record's weekday code counts from Saturday (1 土, 2 日, 3 a holiday, 4 月 ... 8 金);
    // width 4 reads the value as a week from Monday instead. A value outside 0-8 leaves the
    // caller's text as it was.
    static const ColumnTable<4> table({1, 2, 3, 4},
                                      {
                                          {"0", {"　", "　　", "　　　", ""}},
                                          {"1", {"土", "土曜", "土曜日", "月曜日"}},
                                          {"2", {"日", "日曜", "日曜日", "火曜日"}},
                                          {"3", {"祝", "祝日", "祝日　", "水曜日"}},
                                          {"4", {"月", "月曜", "月曜日", "木曜日"}},
                                          {"5", {"火", "火曜", "火曜日", "金曜日"}},
                                          {"6", {"水", "水曜", "水曜日", "土曜日"}},
                                          {"7", {"木", "木曜", "木曜日", "日曜日"}},
                                          {"8", {"金", "金曜", "金曜日", ""}},
                                      },
                                      std::nullopt);
    const int n = jvdata::LenientInt(code);
    if (n < 0 || n > 8) {
        return std::nullopt;
    }
    const char key = static_cast<char>('0' + n);
    return table(std::string_view(&key, 1), width);
}

std::optional<std::string> MarginText(std::string_view code, int width) {
    // Margin behind the horse in front: lengths with their fractions ("112" = 1 1/2), then the
    // short margins. Width 9 (9 bytes) adds "馬身" to the lengths, for the past-run lines.
    static const ColumnTable<2> table(
        {1, 9},
        {
            {"12", {"1/2", "1/2馬身  "}},    {"34", {"3/4", "3/4馬身  "}},
            {"1", {"1", "1馬身    "}},       {"112", {"1_1/2", "1_1/2馬身"}},
            {"114", {"1_1/4", "1_1/4馬身"}}, {"134", {"1_3/4", "1_3/4馬身"}},
            {"2", {"2", "2馬身    "}},       {"212", {"2_1/2", "2_1/2馬身"}},
            {"3", {"3", "3馬身    "}},       {"312", {"3_1/2", "3_1/2馬身"}},
            {"4", {"4", "4馬身    "}},       {"5", {"5", "5馬身    "}},
            {"6", {"6", "6馬身    "}},       {"7", {"7", "7馬身    "}},
            {"8", {"8", "8馬身    "}},       {"9", {"9", "9馬身    "}},
            {"Z", {"10", "10馬身   "}},      {"A", {"ｱﾀﾏ", "ｱﾀﾏ      "}},
            {"D", {"同着", "同着     "}},    {"H", {"ハナ", "ハナ     "}},
            {"K", {"クビ", "クビ     "}},    {"T", {"大差", "大差     "}},
        },
        {{"", "         "}});
    return table(Sjis::TrimBlanks(code), width);
}

std::string RaceSymbolText(std::string_view code) {
    // The three characters of the code: what the race is open to (mixed, sire-bred, bought at
    // auction, drawn, Kyushu-bred, international), the sexes admitted, and the jockey or
    // invitation condition. Only the combinations in use are recognised.
    static const std::map<std::string, std::string, std::less<>> texts = [] {
        const std::map<char, std::string_view> origin = {
            {'0', ""},
            {'A', "(混合)"},
            {'B', "(父)"},
            {'C', "(市)"},
            {'D', "(抽)"},
            {'E', "[抽]"},
            {'F', "(市)(抽)"},
            {'G', "(抽)関西配布馬"},
            {'H', "(抽)関東配布馬"},
            {'I', "[抽]関西配布馬"},
            {'J', "[抽]関東配布馬"},
            {'K', "(市)(抽)関西配布馬"},
            {'L', "(市)(抽)関東配布馬"},
            {'M', "九州産馬"},
            {'N', "(国際)"},
        };
        const std::map<char, std::string_view> sex = {
            {'0', ""}, {'1', "牡"}, {'2', "牝"}, {'3', "牡・ｾﾝ"}, {'4', "牡・牝"},
        };
        const std::map<char, std::string_view> weight = {
            {'0', ""}, {'1', "(指定)"}, {'2', "若手騎手"}, {'3', "[指定]"}, {'4', "(特指)"},
        };
        static constexpr std::string_view recognised[] = {
            "001", "002", "003", "004", "020", "021", "023", "024", "030", "031", "033",
            "034", "040", "041", "043", "044", "A00", "A01", "A02", "A03", "A04", "A10",
            "A11", "A13", "A14", "A20", "A21", "A23", "A24", "A30", "A31", "A33", "A34",
            "A40", "A41", "B00", "B01", "B03", "B04", "C00", "C01", "C03", "C04", "D00",
            "D01", "D03", "E00", "E01", "E03", "F00", "F01", "F03", "F04", "G00", "G01",
            "G03", "H00", "H01", "I00", "I01", "I03", "J00", "J01", "K00", "K01", "K03",
            "L00", "L01", "L03", "M00", "M01", "M03", "M04", "N00", "N01", "N03", "N04",
            "N20", "N21", "N23", "N24", "N30", "N31", "N40", "N41", "N44",
        };
        static_assert(std::size(recognised) == 86);
        std::map<std::string, std::string, std::less<>> built;
        for (const std::string_view c : recognised) {
            std::string utf8;
            if (c == "A02") {
                // Mixed race for young jockeys: the two parts are joined by a middle dot.
                utf8 = "(混合)・若手騎手";
            } else {
                utf8.append(origin.at(c[0])).append(sex.at(c[1])).append(weight.at(c[2]));
            }
            built.emplace(std::string(c),
                          PadWithWideBlanks(Sjis::FromUtf8(utf8), kRaceSymbolBytes));
        }
        return built;
    }();
    static const std::string none = PadWithWideBlanks(std::string(), kRaceSymbolBytes);
    const auto it = texts.find(code);
    return it == texts.end() ? none : it->second;
}

} // namespace KeibaFunc
