#include "jvlink/JVResultMessage.h"

#include "jvdata/SjisText.h"

#include <array>
#include <cstddef>

namespace KeibaFunc {
namespace {

// How a message row's operation is compared with the caller's operation name.
enum class Match {
    Exact,  // the whole name, letter case included
    Prefix, // the name begins with the row's operation (the JVSet... family)
};

// One message: operation (or leading part of its name), status code, UTF-8 text.
struct TMessageRow {
    std::string_view operation; // ASCII operation name as JV-Link spells it
    Match match;                // how operation is compared
    std::int32_t code;          // the status code the operation returned
    std::string_view text;      // the message, UTF-8 (converted to Shift-JIS once)
};

// The messages of every operation. The small differences between operations (a blank after
// "JVInit" for JVOpen only, full-width parentheses for JVStatus -502 and half-width ones for
// JVRead -502, the leading blank of JVOpen -1) are part of the texts users know.
constexpr TMessageRow kMessageRows[] = {
    // JVInit: software identifier checks.
    {"JVInit", Match::Exact, 0, "正常に実行されました。"},
    {"JVInit", Match::Exact, -101, "sid が設定されていません。"},
    {"JVInit", Match::Exact, -102, "sid が64byte 以上あります。"},
    {"JVInit", Match::Exact, -103, "sid が不正（sid の１桁目がスペース）です。"},

    // JVSetUIProperties; every JVSet... operation shares the -100 and -101 messages.
    {"JVSetUIProperties", Match::Exact, 0, "正常に実行されました。"},
    {"JVSet", Match::Prefix, -100, "パラメータが不正あるいはレジストリへの保存に失敗しました。"},
    {"JVSet", Match::Prefix, -101, "すでにサービスキーが登録されています。"},

    // JVOpen: parameters, state, service key, server and set-up.
    {"JVOpen", Match::Exact, 0, "正常に実行されました。"},
    {"JVOpen", Match::Exact, -1, " 取得済みデータより最新のデータがありません。"},
    {"JVOpen", Match::Exact, -2, "セットアップダイアログでキャンセルが押されました。"},
    {"JVOpen", Match::Exact, -111, "dataspec パラメータが不正です。"},
    {"JVOpen", Match::Exact, -112, "fromdate パラメータが不正です。"},
    {"JVOpen", Match::Exact, -114, "key パラメータが不正です。"},
    {"JVOpen", Match::Exact, -115, "option パラメータが不正です。"},
    {"JVOpen", Match::Exact, -116, "dataspec とoption の組み合わせが不正です。"},
    {"JVOpen", Match::Exact, -201, "JVInit が行なわれていません。"},
    {"JVOpen", Match::Exact, -202,
     "前回のJVOpen/JVRTOpen/JVMVOpen に対してJVClose が呼ばれていません。（オープン中）"},
    {"JVOpen", Match::Exact, -211,
     "レジストリ内容が不正（レジストリ内容が不正に変更された）です。"},
    {"JVOpen", Match::Exact, -301, "認証エラーが発生しました。"},
    {"JVOpen", Match::Exact, -302, "サービスキーの有効期限切れです。"},
    {"JVOpen", Match::Exact, -303, "サービスキーが設定されていません。（サービスキーが空値）"},
    {"JVOpen", Match::Exact, -305, "JV-Link 利用規約への同意が必要です。"},
    {"JVOpen", Match::Exact, -401, "JV-Link 内部エラーが発生しました。"},
    {"JVOpen", Match::Exact, -411,
     "サーバーエラー（HTTP ステータス404 NotFount ）が発生しました。"},
    {"JVOpen", Match::Exact, -412,
     "サーバーエラー（HTTP ステータス403 Forbidden ）が発生しました。"},
    {"JVOpen", Match::Exact, -413,
     "サーバーエラー（HTTP ステータス200,403,404 以外）が発生しました。"},
    {"JVOpen", Match::Exact, -421, "サーバーエラー（サーバーの応答が不正）が発生しました。"},
    {"JVOpen", Match::Exact, -431,
     "サーバーエラー（サーバーアプリケーション内部エラー）が発生しました。"},
    {"JVOpen", Match::Exact, -501, "セットアップ処理においてＣＤ －ＲＯＭ が無効です。"},
    {"JVOpen", Match::Exact, -504, "サーバーがメンテナンス中です。"},

    // JVStatus: download progress (positive counts are in kCountRows).
    {"JVStatus", Match::Exact, 0, "正常に実行されました。"},
    {"JVStatus", Match::Exact, -201, "JVInitが行なわれていません。"},
    {"JVStatus", Match::Exact, -203, "JVOpenが行なわれていません。"},
    {"JVStatus", Match::Exact, -502,
     "ダウンロードに失敗しました。（通信エラーやディスクエラーなど）"},

    // JVRead: end of data, file switches, download state and file faults (positive sizes are
    // in kCountRows).
    {"JVRead", Match::Exact, 0, "全ファイルの読み込みが終了しました。（ＥＯＦ ）"},
    {"JVRead", Match::Exact, -1, "ファイルが切り替わりました。"},
    {"JVRead", Match::Exact, -3, "ファイルダウンロード中"},
    {"JVRead", Match::Exact, -201, "JVInitが行なわれていません。"},
    {"JVRead", Match::Exact, -202,
     "前回のJVOpen/JVRTOpen/JVMVOpen に対してJVClose が呼ばれていません。（オープン中）"},
    {"JVRead", Match::Exact, -203, "JVOpenが行なわれていません。"},
    {"JVRead", Match::Exact, -402, "ダウンロードしたファイルサイズが異常です。"},
    {"JVRead", Match::Exact, -403, "ダウンロードしたファイル内容が異常です。"},
    {"JVRead", Match::Exact, -502, "ダウンロードに失敗しました。(通信エラーやディスクエラー)"},
    {"JVRead", Match::Exact, -503, "ファイルが見つかりません。"},

    // JVClose.
    {"JVClose", Match::Exact, 0, "正常に実行されました。"},
};

// Operations whose positive results are counts: the message is a lead text followed by the
// count in decimal.
struct TCountRow {
    std::string_view operation; // ASCII operation name, compared exactly
    std::string_view lead;      // UTF-8 text in front of the count
};

constexpr TCountRow kCountRows[] = {
    {"JVStatus", "ダウンロード済みファイル数"},       // files fetched so far
    {"JVRead", "バッファにセットしたデータのサイズ"}, // size of the record in the buffer
};

// The error prefix of each operation the program reports.
struct TPrefixRow {
    std::string_view operation; // ASCII operation name, compared exactly
    std::string_view prefix;    // UTF-8 prefix text
};

constexpr TPrefixRow kPrefixRows[] = {
    {"JVInit", "JVInitエラー："}, {"JVSetUIProperties", "JVSetUIPropertiesエラー："},
    {"JVOpen", "JVOpenエラー:"},  {"JVStatus", "JVStatusエラー:"},
    {"JVRead", "JVReadエラー:"},  {"JVClose", "JVCloseエラー:"},
};

// What an operation without a prefix row gets after its own name.
constexpr std::string_view kDefaultPrefixTail = "エラー:";

// The Shift-JIS forms of one text column of a table, converted once.
template <typename Row, std::size_t N>
std::array<std::string, N> ToSjisColumn(const Row (&rows)[N], std::string_view Row::*column) {
    std::array<std::string, N> out;
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = Sjis::FromUtf8(rows[i].*column);
    }
    return out;
}

bool Matches(const TMessageRow& row, std::string_view operation) noexcept {
    return row.match == Match::Exact ? operation == row.operation
                                     : operation.starts_with(row.operation);
}

// The message part for (operation, code); empty when the tables have none.
std::string MessagePart(std::string_view operation, std::int32_t code) {
    if (code > 0) {
        static const auto leads = ToSjisColumn(kCountRows, &TCountRow::lead);
        for (std::size_t i = 0; i < std::size(kCountRows); ++i) {
            if (kCountRows[i].operation == operation) {
                return leads[i] + std::to_string(code);
            }
        }
        return {};
    }
    static const auto texts = ToSjisColumn(kMessageRows, &TMessageRow::text);
    for (std::size_t i = 0; i < std::size(kMessageRows); ++i) {
        if (kMessageRows[i].code == code && Matches(kMessageRows[i], operation)) {
            return texts[i];
        }
    }
    return {};
}

} // namespace

std::string JVResultMessage(std::string_view operation, std::int32_t code) {
    std::string text = MessagePart(operation, code);
    text += '(';
    text += std::to_string(code);
    text += ')';
    return text;
}

std::string JVErrorPrefix(std::string_view operation) {
    static const auto prefixes = ToSjisColumn(kPrefixRows, &TPrefixRow::prefix);
    for (std::size_t i = 0; i < std::size(kPrefixRows); ++i) {
        if (kPrefixRows[i].operation == operation) {
            return prefixes[i];
        }
    }
    static const std::string tail = Sjis::FromUtf8(kDefaultPrefixTail);
    return std::string(operation) + tail;
}

std::string JVErrorText(std::string_view operation, std::int32_t code) {
    return JVErrorPrefix(operation) + JVResultMessage(operation, code);
}

} // namespace KeibaFunc
