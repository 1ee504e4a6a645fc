#include "files/ProgramFolder.h"
#include "horse/HorseMasterConversion.h"
#include "support/TestSupport.h"

#include <cstddef>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using horse::ConvertHorseMasterFile;
using horse::ConvertHorseMasterRecord;
using horse::HorseMasterConversionStatus;
using keiba::test::ReadFileBytes;
using keiba::test::S;
using keiba::test::Show;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;

// The old layout beside the new one, typed from the layout table: input range, length of one
// entry, output range, blanks before each entry. Positions are 1-based and inclusive.
struct ExpectedRow {
    std::size_t inFirst, inLast, entryLength, outFirst, outLast, blanks;
};
const std::vector<ExpectedRow> kExpectedRows = {
    {1, 204, 204, 1, 204, 0},        {205, 820, 44, 205, 848, 2},
    {821, 821, 1, 849, 849, 0},      {822, 826, 5, 850, 854, 0},
    {827, 834, 8, 855, 862, 0},      {835, 854, 20, 863, 882, 0},
    {855, 860, 6, 883, 890, 2},      {861, 930, 70, 891, 962, 2},
    {931, 950, 20, 963, 982, 0},     {951, 956, 6, 983, 988, 0},
    {957, 1020, 64, 989, 1052, 0},   {1021, 1074, 9, 1053, 1106, 0},
    {1075, 1092, 18, 1107, 1124, 0}, {1093, 1110, 18, 1125, 1142, 0},
    {1111, 1236, 18, 1143, 1268, 0}, {1237, 1452, 18, 1269, 1484, 0},
    {1453, 1560, 18, 1485, 1592, 0}, {1561, 1572, 12, 1593, 1604, 0},
    {1573, 1575, 3, 1605, 1607, 0},
};

// A whole old record whose data bytes are the given pattern of their 0-based position, with
// its CR LF.
template <typename Pattern>
std::string PatternRecord(Pattern pattern) {
    std::string record;
    for (std::size_t i = 0; i < 1575; ++i) {
        record += pattern(i);
    }
    return record + "\r\n";
}

// An old record of blanks with its header, registration number and the given text at a
// 1-based position.
std::string OldRecord(std::string_view number, std::size_t position = 0,
                      std::string_view text = {}) {
    std::string record(1575, ' ');
    record.replace(0, 11, "UM120040101");
    record.replace(11, number.size(), number);
    if (position > 0) {
        record.replace(position - 1, text.size(), text);
    }
    return record + "\r\n";
}

// Bytes first..last (1-based, inclusive) of a record.
std::string Bytes(const std::string& record, std::size_t first, std::size_t last) {
    return record.substr(first - 1, last - first + 1);
}

// The files of a folder, by name.
std::vector<std::string> FileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(HorseMasterRecord, OneRecordBecomesOneUm2Line) {
    const std::string line = ConvertHorseMasterRecord(OldRecord("2001101234", 205, "ABCDEFGH"));
    ASSERT_EQ(line.size(), 1609u);
    EXPECT_EQ(line.substr(1607), "\r\n");
    EXPECT_EQ(Bytes(line, 1, 21), "UM1200401012001101234");
    EXPECT_EQ(Bytes(line, 205, 206), "  ");
    EXPECT_EQ(Bytes(line, 207, 214), "ABCDEFGH");
}

TEST(HorseMasterRecord, SixBytesAfterTheInvitationRegionAreWidenedByTwoLeadingBlanks) {
    const std::string line = ConvertHorseMasterRecord(OldRecord("2001101234", 855, "123456"));
    EXPECT_EQ(Bytes(line, 883, 890), "  123456");
}

// Every byte of the old record lands where the layout table puts it, and every added byte is
// a blank. Two patterns together give every input position a byte pair of its own (value
// modulo 223 and block of 223), so a byte taken from a wrong place cannot pass.
TEST(HorseMasterRecord, EveryRangeOfTheLayoutTableIsCopiedToItsPlace) {
    const auto byMod = [](std::size_t i) { return static_cast<char>(0x21 + i % 223); };
    const auto byBlock = [](std::size_t i) { return static_cast<char>(0x41 + i / 223); };
    for (const std::string& input : {PatternRecord(byMod), PatternRecord(byBlock)}) {
        std::string expected(1607, '\0');
        std::vector<int> written(1607, 0);
        for (const ExpectedRow& row : kExpectedRows) {
            const std::size_t inLength = row.inLast - row.inFirst + 1;
            ASSERT_EQ(inLength % row.entryLength, 0u) << "row from " << row.inFirst;
            const std::size_t entries = inLength / row.entryLength;
            ASSERT_EQ(row.outLast - row.outFirst + 1, entries * (row.entryLength + row.blanks))
                << "row from " << row.inFirst;
            std::size_t out = row.outFirst - 1;
            for (std::size_t e = 0; e < entries; ++e) {
                for (std::size_t b = 0; b < row.blanks; ++b, ++out) {
                    expected[out] = ' ';
                    ++written[out];
                }
                for (std::size_t j = 0; j < row.entryLength; ++j, ++out) {
                    expected[out] = input[row.inFirst - 1 + e * row.entryLength + j];
                    ++written[out];
                }
            }
        }
        for (std::size_t i = 0; i < written.size(); ++i) {
            ASSERT_EQ(written[i], 1) << "output position " << i + 1 << " in the typed table";
        }

        const std::string line = ConvertHorseMasterRecord(input);
        ASSERT_EQ(line.size(), 1609u);
        for (std::size_t i = 0; i < 1607; ++i) {
            ASSERT_EQ(line[i], expected[i]) << "output position " << i + 1;
        }
        EXPECT_EQ(line.substr(1607), "\r\n");
    }
}

// Cross-check with the fields of the current layout that the horse pages read.
TEST(HorseMasterRecord, FieldsLandWhereTheHorsePagesReadThem) {
    std::string old = OldRecord("2001101234");
    for (std::size_t i = 0; i < 14; ++i) {
        const std::string name = S("血統名") + std::to_string(i);
        old.replace(205 - 1 + 44 * i + 8, name.size(), name); // name after the 8-byte number
    }
    old.replace(827 - 1, 8, S("調教師  "));
    old.replace(861 - 1, 70, std::string(70, 'b'));
    old.replace(957 - 1, 64, std::string(64, 'o'));
    old.replace(1021 - 1, 9, "000123456");
    old.replace(1075 - 1, 18, "001002003004005006");
    old.replace(1573 - 1, 3, "xyz");

    const std::string line = ConvertHorseMasterRecord(old);
    for (std::size_t i = 0; i < 14; ++i) {
        const std::string name = S("血統名") + std::to_string(i);
        EXPECT_EQ(line.substr(215 - 1 + 46 * i, name.size()), name) << "pedigree entry " << i;
        EXPECT_EQ(line.substr(205 - 1 + 46 * i, 2), "  ") << "pedigree entry " << i;
    }
    EXPECT_EQ(Bytes(line, 855, 862), S("調教師  ")) << Show(Bytes(line, 855, 862));
    EXPECT_EQ(Bytes(line, 891, 962), "  " + std::string(70, 'b'));
    EXPECT_EQ(Bytes(line, 989, 1052), std::string(64, 'o'));
    EXPECT_EQ(Bytes(line, 1053, 1061), "000123456");
    EXPECT_EQ(Bytes(line, 1107, 1124), "001002003004005006");
    EXPECT_EQ(Bytes(line, 1605, 1607), "xyz");
}

TEST(HorseMasterRecord, ShortInputIsNotARecordAndTheOldLineEndIsNeverCopied) {
    EXPECT_EQ(ConvertHorseMasterRecord(""), "");
    EXPECT_EQ(ConvertHorseMasterRecord(std::string(1574, '1')), "");
    // The 1575 data bytes alone are a whole record; what stands at 1576-1577 is not read.
    const std::string line = ConvertHorseMasterRecord(std::string(1575, '1'));
    ASSERT_EQ(line.size(), 1609u);
    EXPECT_EQ(line.substr(1607), "\r\n");
    std::string odd = OldRecord("2001101234");
    odd.replace(1575, 2, "XY");
    EXPECT_EQ(ConvertHorseMasterRecord(odd).substr(1605), "  \r\n");
}

// File conversion: a folder with the UMA and UM2 sub-folders of one horse.
class HorseMasterFile : public ::testing::Test {
protected:
    TempDir root;
    fs::path input = root / "UMA" / "2001" / "2001101234.jvUMA";
    fs::path output = root / "UM2" / "2001" / "2001101234.jvUM2";

    void SetUp() override {
        fs::create_directories(input.parent_path());
        fs::create_directories(output.parent_path());
    }
};

TEST_F(HorseMasterFile, OneRecordGivesA1609ByteFile) {
    WriteFileBytes(input, OldRecord("2001101234", 205, "12345678"));
    const auto result = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::Converted) << Show(result.message);
    EXPECT_EQ(result.records, 1u);
    EXPECT_EQ(result.trailingBytes, 0u);
    EXPECT_FALSE(result.failed());
    const std::string written = ReadFileBytes(output);
    ASSERT_EQ(written.size(), 1609u);
    EXPECT_EQ(written.substr(1607), "\r\n");
    EXPECT_EQ(Bytes(written, 205, 214), "  12345678");
    EXPECT_EQ(FileNames(output.parent_path()), std::vector<std::string>{"2001101234.jvUM2"});
}

TEST_F(HorseMasterFile, RecordsKeepTheirOrder) {
    WriteFileBytes(input,
                   OldRecord("2001100001") + OldRecord("2001100002") + OldRecord("2001100003"));
    const auto result = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::Converted);
    EXPECT_EQ(result.records, 3u);
    const std::string written = ReadFileBytes(output);
    ASSERT_EQ(written.size(), 3u * 1609u);
    for (std::size_t k = 0; k < 3; ++k) {
        const std::string line = written.substr(k * 1609, 1609);
        EXPECT_EQ(Bytes(line, 12, 21), "200110000" + std::to_string(k + 1)) << "line " << k;
        EXPECT_EQ(line.substr(1607), "\r\n") << "line " << k;
    }
}

TEST_F(HorseMasterFile, TrailingPartialRecordIsIgnoredAndReported) {
    WriteFileBytes(input, OldRecord("2001100001") + OldRecord("2001100002") +
                              OldRecord("2001100003").substr(0, 700));
    const auto result = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::Converted);
    EXPECT_EQ(result.records, 2u);
    EXPECT_EQ(result.trailingBytes, 700u);
    const std::string written = ReadFileBytes(output);
    ASSERT_EQ(written.size(), 2u * 1609u);
    EXPECT_EQ(Bytes(written, 1609 + 12, 1609 + 21), "2001100002");
}

TEST_F(HorseMasterFile, NoWholeRecordWritesNothing) {
    WriteFileBytes(input, "");
    auto result = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::NoRecord);
    EXPECT_FALSE(result.failed());
    EXPECT_FALSE(fs::exists(output));

    WriteFileBytes(input, OldRecord("2001101234").substr(0, 1576));
    result = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::NoRecord);
    EXPECT_EQ(result.trailingBytes, 1576u);
    EXPECT_FALSE(fs::exists(output));
    EXPECT_TRUE(FileNames(output.parent_path()).empty());
}

// A missing old file leaves no new file, so the next day load tries the conversion again;
// a missing UMA folder (the program never makes one) is the same, and nothing is created.
TEST_F(HorseMasterFile, MissingInputWritesNothingAndIsNoFailure) {
    auto result = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::NoInput);
    EXPECT_FALSE(result.failed());
    EXPECT_TRUE(result.message.empty());
    EXPECT_FALSE(fs::exists(output));

    const fs::path elsewhere = root / "UM2" / "1999" / "1999100001.jvUM2";
    result = ConvertHorseMasterFile(root / "UMA" / "1999" / "1999100001.jvUMA", elsewhere);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::NoInput);
    EXPECT_FALSE(fs::exists(elsewhere.parent_path()));
}

TEST_F(HorseMasterFile, MissingOutputFolderIsCreated) {
    WriteFileBytes(input, OldRecord("2001101234"));
    fs::remove_all(root / "UM2");
    const auto result = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::Converted) << Show(result.message);
    EXPECT_EQ(ReadFileBytes(output).size(), 1609u);
}

TEST_F(HorseMasterFile, OldOutputIsReplacedWhole) {
    WriteFileBytes(output, std::string(5000, 'z'));
    WriteFileBytes(input, OldRecord("2001101234"));
    const auto result = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::Converted);
    const std::string written = ReadFileBytes(output);
    ASSERT_EQ(written.size(), 1609u);
    EXPECT_EQ(Bytes(written, 1, 21), "UM1200401012001101234");
    EXPECT_EQ(FileNames(output.parent_path()), std::vector<std::string>{"2001101234.jvUM2"});
}

// An output that cannot be written is a failure naming the file, and leaves no file (nor a
// temporary one) that a later load could take for a converted master.
TEST_F(HorseMasterFile, UnwritableOutputIsAFailureAndLeavesNoFile) {
    WriteFileBytes(input, OldRecord("2001101234"));
    const fs::path blocker = root / "UM2" / "2002";
    WriteFileBytes(blocker, "a file where the folder should be");
    const fs::path blocked = blocker / "2002100001.jvUM2";
    const auto result = ConvertHorseMasterFile(input, blocked);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::WriteFailed);
    EXPECT_TRUE(result.failed());
    EXPECT_EQ(result.records, 0u);
    EXPECT_TRUE(result.system);
    EXPECT_NE(result.message.find(S("馬マスタファイル「") + files::TextFromPath(blocked) + S("」")),
              std::string::npos)
        << Show(result.message);
    EXPECT_FALSE(fs::exists(blocked));
    EXPECT_EQ(ReadFileBytes(blocker), "a file where the folder should be");

    // The output named as a folder: refused, the folder untouched and nothing left beside it.
    fs::create_directories(output);
    const auto intoFolder = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(intoFolder.status, HorseMasterConversionStatus::WriteFailed);
    EXPECT_TRUE(fs::is_directory(output));
    EXPECT_EQ(FileNames(output.parent_path()), std::vector<std::string>{"2001101234.jvUM2"});
}

TEST_F(HorseMasterFile, UnreadableInputIsAFailureNamingTheFile) {
    fs::create_directories(input); // a folder where the old file should be
    const auto result = ConvertHorseMasterFile(input, output);
    EXPECT_EQ(result.status, HorseMasterConversionStatus::ReadFailed);
    EXPECT_TRUE(result.failed());
    EXPECT_NE(result.message.find(files::TextFromPath(input)), std::string::npos)
        << Show(result.message);
    EXPECT_FALSE(fs::exists(output));
}

TEST(HorseMasterPaths, FilesOfAHorseHangFromItsFoalingYearFolder) {
    const fs::path root = fs::path("data") / "root";
    EXPECT_EQ(horse::HorseMasterFilePath(root, "2001101234"),
              root / "UM2" / "2001" / "2001101234.jvUM2");
    EXPECT_EQ(horse::OldHorseMasterFilePath(root, "2001101234"),
              root / "UMA" / "2001" / "2001101234.jvUMA");
    EXPECT_EQ(horse::HorseMasterFilePath(root, "0000000000"),
              root / "UM2" / "0000" / "0000000000.jvUM2");
}

// Nothing but ten digits names a file: a blank runner slot, a cut or overlong field, and
// anything that could climb out of the store or name another folder give no path.
TEST(HorseMasterPaths, AnythingButTenDigitsGivesNoPath) {
    const std::vector<std::string> bad = {
        "",
        std::string(10, ' '),
        "200110123",
        "20011012345",
        "2001 01234",
        " 200110123",
        "..\\..\\x.ab",
        "../../x.ab",
        "2001/01234",
        "2001\\01234",
        "20011012.4",
        "200110123a",
        "+200110123",
        std::string("20011\0"
                    "1234",
                    10),
        S("２００１１０"), // full-width digits, 12 bytes
        S("２００１１"),   // full-width digits, 10 bytes
    };
    const fs::path root = "root";
    for (const std::string& number : bad) {
        EXPECT_FALSE(horse::IsRegistrationNumber(number)) << Show(number);
        EXPECT_FALSE(horse::HorseMasterFilePath(root, number)) << Show(number);
        EXPECT_FALSE(horse::OldHorseMasterFilePath(root, number)) << Show(number);
    }
}

} // namespace
