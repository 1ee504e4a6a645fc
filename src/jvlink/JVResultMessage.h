// JV-Link result messages: the Japanese words for the status code a JV-Link operation returned.
//
// Every JV-Link result the program reports to the user goes through JVResultMessage; callers put
// the operation's error prefix in front (JVErrorPrefix, or the whole line from JVErrorText) and
// show it in an information box or in the acquisition window's progress text. All texts are
// Shift-JIS (CP932) bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace KeibaFunc {

// The message for the code returned by the named JV-Link operation ("JVInit",
// "JVSetUIProperties", "JVOpen", "JVStatus", "JVRead", "JVClose"; compared exactly, letter case
// included), followed by the code in decimal in half-width parentheses:
// ("JVOpen", -504) -> "サーバーがメンテナンス中です。(-504)". A code the operation has no message
// for gives the parentheses alone: ("JVClose", -201) -> "(-201)".
std::string JVResultMessage(std::string_view operation, std::int32_t code);

// The prefix shown in front of an operation's error message: "JVOpenエラー:", "JVReadエラー:" ...;
// "JVInit" and "JVSetUIProperties" take a full-width colon ("JVInitエラー："). Any other operation
// name gives the name itself followed by "エラー:".
std::string JVErrorPrefix(std::string_view operation);

// The whole error line: JVErrorPrefix(operation) followed by JVResultMessage(operation, code).
std::string JVErrorText(std::string_view operation, std::int32_t code);

} // namespace KeibaFunc
