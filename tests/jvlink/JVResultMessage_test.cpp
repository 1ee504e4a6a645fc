#include "jvdata/SjisText.h"
#include "jvlink/JVResultMessage.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using keiba::test::S;
using keiba::test::Show;
using KeibaFunc::JVErrorPrefix;
using KeibaFunc::JVErrorText;
using KeibaFunc::JVResultMessage;

// A whole converter text as users see it: message and code in parentheses (UTF-8).
struct Expected {
    std::string_view operation;
    std::int32_t code;
    std::string_view text;
};

// Every message row of the JV-Link result tables, typed with its code suffix.
const std::vector<Expected> kRows = {
    {"JVInit", 0, "正常に実行されました。(0)"},
    {"JVInit", -101, "sid が設定されていません。(-101)"},
    {"JVInit", -102, "sid が64byte 以上あります。(-102)"},
    {"JVInit", -103, "sid が不正（sid の１桁目がスペース）です。(-103)"},

    {"JVSetUIProperties", 0, "正常に実行されました。(0)"},
    {"JVSetUIProperties", -100, "パラメータが不正あるいはレジストリへの保存に失敗しました。(-100)"},
    {"JVSetUIProperties", -101, "すでにサービスキーが登録されています。(-101)"},

    {"JVOpen", 0, "正常に実行されました。(0)"},
    {"JVOpen", -1, " 取得済みデータより最新のデータがありません。(-1)"},
    {"JVOpen", -2, "セットアップダイアログでキャンセルが押されました。(-2)"},
    {"JVOpen", -111, "dataspec パラメータが不正です。(-111)"},
    {"JVOpen", -112, "fromdate パラメータが不正です。(-112)"},
    {"JVOpen", -114, "key パラメータが不正です。(-114)"},
    {"JVOpen", -115, "option パラメータが不正です。(-115)"},
    {"JVOpen", -116, "dataspec とoption の組み合わせが不正です。(-116)"},
    {"JVOpen", -201, "JVInit が行なわれていません。(-201)"},
    {"JVOpen", -202,
     "前回のJVOpen/JVRTOpen/JVMVOpen に対してJVClose が呼ばれていません。（オープン中）(-202)"},
    {"JVOpen", -211, "レジストリ内容が不正（レジストリ内容が不正に変更された）です。(-211)"},
    {"JVOpen", -301, "認証エラーが発生しました。(-301)"},
    {"JVOpen", -302, "サービスキーの有効期限切れです。(-302)"},
    {"JVOpen", -303, "サービスキーが設定されていません。（サービスキーが空値）(-303)"},
    {"JVOpen", -305, "JV-Link 利用規約への同意が必要です。(-305)"},
    {"JVOpen", -401, "JV-Link 内部エラーが発生しました。(-401)"},
    {"JVOpen", -411, "サーバーエラー（HTTP ステータス404 NotFount ）が発生しました。(-411)"},
    {"JVOpen", -412, "サーバーエラー（HTTP ステータス403 Forbidden ）が発生しました。(-412)"},
    {"JVOpen", -413, "サーバーエラー（HTTP ステータス200,403,404 以外）が発生しました。(-413)"},
    {"JVOpen", -421, "サーバーエラー（サーバーの応答が不正）が発生しました。(-421)"},
    {"JVOpen", -431, "サーバーエラー（サーバーアプリケーション内部エラー）が発生しました。(-431)"},
    {"JVOpen", -501, "セットアップ処理においてＣＤ －ＲＯＭ が無効です。(-501)"},
    {"JVOpen", -504, "サーバーがメンテナンス中です。(-504)"},

    {"JVStatus", 0, "正常に実行されました。(0)"},
    {"JVStatus", -201, "JVInitが行なわれていません。(-201)"},
    {"JVStatus", -203, "JVOpenが行なわれていません。(-203)"},
    {"JVStatus", -502, "ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-502)"},

    {"JVRead", 0, "全ファイルの読み込みが終了しました。（ＥＯＦ ）(0)"},
    {"JVRead", -1, "ファイルが切り替わりました。(-1)"},
    {"JVRead", -3, "ファイルダウンロード中(-3)"},
    {"JVRead", -201, "JVInitが行なわれていません。(-201)"},
    {"JVRead", -202,
     "前回のJVOpen/JVRTOpen/JVMVOpen に対してJVClose が呼ばれていません。（オープン中）(-202)"},
    {"JVRead", -203, "JVOpenが行なわれていません。(-203)"},
    {"JVRead", -402, "ダウンロードしたファイルサイズが異常です。(-402)"},
    {"JVRead", -403, "ダウンロードしたファイル内容が異常です。(-403)"},
    {"JVRead", -502, "ダウンロードに失敗しました。(通信エラーやディスクエラー)(-502)"},
    {"JVRead", -503, "ファイルが見つかりません。(-503)"},

    {"JVClose", 0, "正常に実行されました。(0)"},
};

// The six operation names the program passes.
const std::vector<std::string_view> kOperations = {
    "JVInit", "JVSetUIProperties", "JVOpen", "JVStatus", "JVRead", "JVClose",
};

// The code in half-width parentheses: what an unlisted pair gives.
std::string CodeOnly(std::int32_t code) {
    return "(" + std::to_string(code) + ")";
}

// True when the bytes are valid CP932 that survive a trip through UTF-8 unchanged.
bool RoundTrips(const std::string& sjis) {
    const std::string utf8 = Sjis::ToUtf8(sjis);
    return utf8.find(Sjis::kUtf8Replacement) == std::string::npos && Sjis::FromUtf8(utf8) == sjis;
}

// ---- The tables ---------------------------------------------------------------------------

TEST(JVResultMessage, EveryTableRowGivesItsMessageAndCode) {
    for (const auto& row : kRows) {
        EXPECT_EQ(JVResultMessage(row.operation, row.code), S(row.text))
            << row.operation << " " << row.code << ": "
            << Show(JVResultMessage(row.operation, row.code));
    }
}

TEST(JVResultMessage, ExamplesAndEdgeCases) {
    EXPECT_EQ(JVResultMessage("JVOpen", -504), S("サーバーがメンテナンス中です。(-504)"));
    EXPECT_EQ(JVResultMessage("JVClose", -201), "(-201)");
    EXPECT_EQ(JVResultMessage("JVOpen", 0), S("正常に実行されました。(0)"));
    EXPECT_EQ(JVResultMessage("JVRead", 120), S("バッファにセットしたデータのサイズ120(120)"));
    EXPECT_EQ(JVResultMessage("JVSetUIProperties", -101),
              S("すでにサービスキーが登録されています。(-101)"));
}

// The near-identical texts differ in single bytes that users' screenshots and manuals show.
TEST(JVResultMessage, TextsThatDifferBetweenOperationsKeepTheirBytes) {
    // "JVInit が" with a blank for JVOpen, without for JVStatus and JVRead.
    EXPECT_EQ(JVResultMessage("JVOpen", -201).substr(0, 7), "JVInit ");
    EXPECT_EQ(JVResultMessage("JVStatus", -201).substr(0, 8), "JVInit\x82\xAA");
    EXPECT_EQ(JVResultMessage("JVRead", -201), JVResultMessage("JVStatus", -201));

    // -502: full-width parentheses (81 69, 81 6A) for JVStatus, half-width for JVRead.
    const std::string status = JVResultMessage("JVStatus", -502);
    const std::string read = JVResultMessage("JVRead", -502);
    EXPECT_NE(status.find("\x81\x69"), std::string::npos) << Show(status);
    EXPECT_NE(status.find("\x81\x6A("), std::string::npos) << Show(status);
    EXPECT_EQ(read.find("\x81\x69"), std::string::npos) << Show(read);
    EXPECT_EQ(read.substr(read.size() - 7), ")(-502)") << Show(read);

    // JVOpen -1 starts with a half-width blank.
    EXPECT_EQ(JVResultMessage("JVOpen", -1).substr(0, 1), " ");
    // JVRead 0 ends its message in full-width "ＥＯＦ" then a half-width blank and "）".
    EXPECT_EQ(JVResultMessage("JVRead", 0).substr(JVResultMessage("JVRead", 0).size() - 12),
              "\x82\x64\x82\x6E\x82\x65 \x81\x6A(0)");
}

// ---- Codes the tables do not list ---------------------------------------------------------

TEST(JVResultMessage, UnlistedCodesGiveTheCodeAlone) {
    std::set<std::pair<std::string_view, std::int32_t>> listed;
    for (const auto& row : kRows) {
        listed.insert({row.operation, row.code});
    }
    for (std::string_view operation : kOperations) {
        const bool counts = operation == "JVStatus" || operation == "JVRead";
        for (std::int32_t code = -1000; code <= 1000; ++code) {
            if (listed.count({operation, code}) != 0 || (counts && code > 0)) {
                continue;
            }
            ASSERT_EQ(JVResultMessage(operation, code), CodeOnly(code)) << operation << " " << code;
        }
    }
}

TEST(JVResultMessage, CodesAtTheEndsOfTheRange) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(JVResultMessage("JVOpen", kMin), "(-2147483648)");
    EXPECT_EQ(JVResultMessage("JVClose", kMax), "(2147483647)");
    EXPECT_EQ(JVResultMessage("JVRead", kMin), "(-2147483648)");
    EXPECT_EQ(JVResultMessage("JVRead", kMax),
              S("バッファにセットしたデータのサイズ2147483647(2147483647)"));
    EXPECT_EQ(JVResultMessage("JVStatus", kMax),
              S("ダウンロード済みファイル数2147483647(2147483647)"));
}

TEST(JVResultMessage, PositiveCodesAreCountsForStatusAndReadOnly) {
    EXPECT_EQ(JVResultMessage("JVStatus", 1), S("ダウンロード済みファイル数1(1)"));
    EXPECT_EQ(JVResultMessage("JVStatus", 37), S("ダウンロード済みファイル数37(37)"));
    EXPECT_EQ(JVResultMessage("JVRead", 1), S("バッファにセットしたデータのサイズ1(1)"));
    EXPECT_EQ(JVResultMessage("JVRead", 1272), S("バッファにセットしたデータのサイズ1272(1272)"));
    EXPECT_EQ(JVResultMessage("JVRead", 60000),
              S("バッファにセットしたデータのサイズ60000(60000)"));
    for (std::string_view operation : {"JVInit", "JVSetUIProperties", "JVOpen", "JVClose"}) {
        EXPECT_EQ(JVResultMessage(operation, 1), "(1)") << operation;
        EXPECT_EQ(JVResultMessage(operation, 120), "(120)") << operation;
    }
    // A count for an operation in the wrong letter case is no count.
    EXPECT_EQ(JVResultMessage("jvread", 120), "(120)");
    EXPECT_EQ(JVResultMessage("JVSTATUS", 3), "(3)");
}

// ---- Operation names ----------------------------------------------------------------------

TEST(JVResultMessage, OperationNamesAreComparedWithLetterCase) {
    for (const auto& row : kRows) {
        std::string lower(row.operation);
        std::string upper(row.operation);
        for (char& c : lower) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        for (char& c : upper) {
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
        EXPECT_EQ(JVResultMessage(lower, row.code), CodeOnly(row.code)) << lower;
        EXPECT_EQ(JVResultMessage(upper, row.code), CodeOnly(row.code)) << upper;
    }
    EXPECT_EQ(JVResultMessage("JvOpen", -504), "(-504)");
    EXPECT_EQ(JVResultMessage("JVset", -100), "(-100)");
    EXPECT_EQ(JVResultMessage("jvSetUIProperties", -101), "(-101)");
}

TEST(JVResultMessage, OtherJVSetOperationsShareTheRegistryAndKeyMessages) {
    for (std::string_view operation :
         {"JVSet", "JVSetServiceKey", "JVSetSaveFlag", "JVSetSavePath", "JVSetUIProperties"}) {
        EXPECT_EQ(JVResultMessage(operation, -100),
                  S("パラメータが不正あるいはレジストリへの保存に失敗しました。(-100)"))
            << operation;
        EXPECT_EQ(JVResultMessage(operation, -101),
                  S("すでにサービスキーが登録されています。(-101)"))
            << operation;
        EXPECT_EQ(JVResultMessage(operation, -102), "(-102)") << operation;
        EXPECT_EQ(JVResultMessage(operation, 1), "(1)") << operation;
    }
    // Only JVSetUIProperties itself lists 0.
    EXPECT_EQ(JVResultMessage("JVSetServiceKey", 0), "(0)");
    EXPECT_EQ(JVResultMessage("JVSet", 0), "(0)");
    // The name must begin with JVSet.
    EXPECT_EQ(JVResultMessage("JVSe", -100), "(-100)");
    EXPECT_EQ(JVResultMessage(" JVSetUIProperties", -100), "(-100)");
    EXPECT_EQ(JVResultMessage("XJVSetUIProperties", -101), "(-101)");
    // JVInit's own -101 stays its own.
    EXPECT_EQ(JVResultMessage("JVInit", -101), S("sid が設定されていません。(-101)"));
}

TEST(JVResultMessage, UnknownOperationsGiveTheCodeAlone) {
    for (std::string_view operation :
         {"", "JVCancel", "JVRTOpen", "JVMVOpen", "JVOpen ", " JVOpen", "JVOpe", "JVOpenX",
          "JVReadX", "JVClos", "JVInitialize", "JVStatusX"}) {
        for (std::int32_t code : {0, -1, -2, -3, -101, -201, -504}) {
            EXPECT_EQ(JVResultMessage(operation, code), CodeOnly(code))
                << "\"" << operation << "\" " << code;
        }
    }
}

// ---- Shift-JIS ----------------------------------------------------------------------------

TEST(JVResultMessage, EveryMessageIsShiftJisThatRoundTrips) {
    std::vector<std::string> messages;
    for (std::string_view operation : kOperations) {
        for (std::int32_t code = -600; code <= 3; ++code) {
            messages.push_back(JVResultMessage(operation, code));
        }
    }
    messages.push_back(JVResultMessage("JVSetServiceKey", -100));
    messages.push_back(JVResultMessage("JVSetServiceKey", -101));
    for (const auto& message : messages) {
        EXPECT_TRUE(RoundTrips(message)) << Show(message);
        EXPECT_EQ(message.find(Sjis::kSjisReplacement), std::string::npos) << Show(message);
    }
    for (const auto& row : kRows) {
        EXPECT_TRUE(Sjis::TryFromUtf8(row.text).has_value()) << row.text;
    }
}

// ---- Error prefixes -----------------------------------------------------------------------

TEST(JVErrorPrefix, EachOperationHasItsPrefix) {
    EXPECT_EQ(JVErrorPrefix("JVInit"), S("JVInitエラー："));
    EXPECT_EQ(JVErrorPrefix("JVSetUIProperties"), S("JVSetUIPropertiesエラー："));
    EXPECT_EQ(JVErrorPrefix("JVOpen"), S("JVOpenエラー:"));
    EXPECT_EQ(JVErrorPrefix("JVStatus"), S("JVStatusエラー:"));
    EXPECT_EQ(JVErrorPrefix("JVRead"), S("JVReadエラー:"));
    EXPECT_EQ(JVErrorPrefix("JVClose"), S("JVCloseエラー:"));

    // Full-width colon 81 46 after JVInit and JVSetUIProperties, half-width ':' after the rest.
    EXPECT_EQ(JVErrorPrefix("JVInit"), "JVInit\x83\x47\x83\x89\x81\x5B\x81\x46");
    EXPECT_EQ(JVErrorPrefix("JVOpen"), "JVOpen\x83\x47\x83\x89\x81\x5B:");
}

TEST(JVErrorPrefix, OtherNamesGetTheirOwnNameAndAHalfWidthColon) {
    EXPECT_EQ(JVErrorPrefix("JVCancel"), S("JVCancelエラー:"));
    EXPECT_EQ(JVErrorPrefix("jvinit"), S("jvinitエラー:"));
    EXPECT_EQ(JVErrorPrefix("JVSetServiceKey"), S("JVSetServiceKeyエラー:"));
    EXPECT_EQ(JVErrorPrefix(""), S("エラー:"));
}

TEST(JVErrorText, PrefixFollowedByTheMessage) {
    EXPECT_EQ(JVErrorText("JVOpen", -504), S("JVOpenエラー:サーバーがメンテナンス中です。(-504)"));
    EXPECT_EQ(JVErrorText("JVInit", -101), S("JVInitエラー：sid が設定されていません。(-101)"));
    EXPECT_EQ(
        JVErrorText("JVSetUIProperties", -100),
        S("JVSetUIPropertiesエラー：パラメータが不正あるいはレジストリへの保存に失敗しました。("
          "-100)"));
    EXPECT_EQ(
        JVErrorText("JVStatus", -502),
        S("JVStatusエラー:ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-502)"));
    EXPECT_EQ(JVErrorText("JVRead", -503), S("JVReadエラー:ファイルが見つかりません。(-503)"));
    EXPECT_EQ(JVErrorText("JVClose", -201), S("JVCloseエラー:(-201)"));
    for (std::string_view operation : kOperations) {
        EXPECT_TRUE(RoundTrips(JVErrorText(operation, -201))) << operation;
    }
}

} // namespace
