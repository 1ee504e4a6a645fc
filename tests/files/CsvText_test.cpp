#include "files/CsvText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using files::CsvText;
using files::TableFromCsv;
using files::TCsvEncoding;
using files::TTextTable;
using keiba::test::S;

// Cells that need quoting, cells that must not be quoted, and two-byte characters whose second
// byte is 0x5C ("ソ" 83 5C, "表" 95 5C) or whose character is a comma ("、" 81 41, "，" 81 43).
TTextTable Awkward() {
    return {{S("馬名"), S("着差"), "memo"},
            {{S("ソダシ"), S("表"), "a,b"},
             {"say \"hi\"", " lead", "trail "},
             {"two\r\nlines", "lf\nonly", ""},
             {S("、，ﾌﾞﾘﾝ"), S("　全角　"), "\\"}}};
}

TEST(CsvText, ShiftJisBytesQuoteOnlyWhatNeedsIt) {
    const std::string csv = CsvText(Awkward(), TCsvEncoding::ShiftJis);
    EXPECT_EQ(csv, S("馬名,着差,memo\r\n") + S("ソダシ,表,\"a,b\"\r\n") +
                       "\"say \"\"hi\"\"\",\" lead\",\"trail \"\r\n" +
                       "\"two\r\nlines\",\"lf\nonly\",\r\n" + S("、，ﾌﾞﾘﾝ,　全角　,\\\r\n"));
    const std::string utf8 = CsvText(Awkward(), TCsvEncoding::Utf8Bom);
    EXPECT_EQ(utf8.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_TRUE(utf8.substr(3).starts_with("馬名,着差,memo\r\nソダシ,表,\"a,b\"\r\n"));
}

TEST(CsvText, ALoneLeadByteNeverSwallowsTheSeparatorAfterIt) {
    // A damaged field may end in the first byte of a two-byte character.
    const TTextTable table{{"a", "b"}, {{"x\x81", "y"}, {"\x81\"", "z"}}};
    const TTextTable sjis =
        TableFromCsv(CsvText(table, TCsvEncoding::ShiftJis), TCsvEncoding::ShiftJis);
    EXPECT_EQ(sjis.rows, table.rows);
    const TTextTable utf8 =
        TableFromCsv(CsvText(table, TCsvEncoding::Utf8Bom), TCsvEncoding::Utf8Bom);
    EXPECT_EQ(utf8.rows, (std::vector<std::vector<std::string>>{{"x?", "y"}, {"?\"", "z"}}));
}

TEST(CsvText, BothEncodingsReadBackCellForCell) {
    for (const TCsvEncoding encoding : {TCsvEncoding::ShiftJis, TCsvEncoding::Utf8Bom}) {
        const TTextTable back = TableFromCsv(CsvText(Awkward(), encoding), encoding);
        EXPECT_EQ(back.columns, Awkward().columns);
        EXPECT_EQ(back.rows, Awkward().rows);
    }
}

TEST(CsvText, ShortRowsAreFilledAndLongRowsWidenTheHeader) {
    const TTextTable table{{"a", "b", "c"}, {{"1"}, {}, {"1", "2", "3", "4"}}};
    EXPECT_EQ(CsvText(table, TCsvEncoding::ShiftJis), "a,b,c,\r\n1,,,\r\n,,,\r\n1,2,3,4\r\n");
    const TTextTable back =
        TableFromCsv(CsvText(table, TCsvEncoding::ShiftJis), TCsvEncoding::ShiftJis);
    ASSERT_EQ(back.rows.size(), 3u);
    EXPECT_EQ(back.rows[0], (std::vector<std::string>{"1", "", "", ""}));
    EXPECT_EQ(back.rows[1], (std::vector<std::string>{"", "", "", ""}));
}

TEST(CsvText, ReaderTakesLfLinesNoBomAndNoFinalLineEnd) {
    const TTextTable lf = TableFromCsv("x,y\n1,\"2\"\n3,4", TCsvEncoding::Utf8Bom);
    EXPECT_EQ(lf.columns, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(lf.rows, (std::vector<std::vector<std::string>>{{"1", "2"}, {"3", "4"}}));
    EXPECT_EQ(TableFromCsv("\xEF\xBB\xBF\xE9\xA6\xAC\r\n", TCsvEncoding::Utf8Bom).columns,
              std::vector<std::string>{S("馬")});
    EXPECT_TRUE(TableFromCsv("", TCsvEncoding::ShiftJis).columns.empty());
}

TEST(CsvFile, WrittenWholeOrNotAtAllWithItsReason) {
    keiba::test::TempDir dir;
    const auto file = dir / "card.csv";
    ASSERT_FALSE(files::WriteCsvFile(file, Awkward(), TCsvEncoding::ShiftJis));
    ASSERT_FALSE(files::WriteCsvFile(file, {{"a"}, {}}, TCsvEncoding::Utf8Bom));
    EXPECT_EQ(keiba::test::ReadFileBytes(file), "\xEF\xBB\xBF"
                                                "a\r\n");

    const auto missing = dir / "no folder" / "card.csv";
    const std::error_code error = files::WriteCsvFile(missing, Awkward(), TCsvEncoding::ShiftJis);
    ASSERT_TRUE(error);
    const std::string text = files::CsvWriteFailureText(missing, error);
    EXPECT_TRUE(text.starts_with(S("CSVファイルを保存できません:"))) << keiba::test::Show(text);
    EXPECT_NE(text.find("card.csv ("), std::string::npos) << keiba::test::Show(text);
}

} // namespace
