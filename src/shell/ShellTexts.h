// Texts of the application shell that the program shows at start-up and from its main window.
// All are CP932 bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace shell {

// The application's title, "Tomberly＆競馬新聞 " (full-width ampersand, one trailing blank):
// the title of the program's message boxes.
const std::string& ApplicationTitle();

// The main window's caption, "Tomberly&競馬新聞" (half-width ampersand, shown as it stands).
const std::string& MainFormCaption();

// The information shown when the JV-Link component is not installed, before the program ends.
const std::string& JVLinkMissingText();

// The product name shown by the version window, "Tomberly＆競馬新聞".
const std::string& ProductName();

// The line under the version in the version window, "for JRA-VAN Data Lab.".
const std::string& VersionWindowComment();

// A JV-Link call that failed in the automation itself, not with a status code: the
// operation's error prefix ("JVInitエラー：") and the failure's description (UTF-8, as the
// component adapter words it).
std::string JVLinkCallFailedText(std::string_view operation, std::string_view utf8Detail);

// The store's race-day folder exists but could not be listed for the date list: a heading,
// the folder and the system's reason.
std::string DateListFailedText(const std::filesystem::path& folder, const std::error_code& error);

// The help file (or the help pages' contents page) is not there: a heading and its path.
std::string HelpFileMissingText(const std::filesystem::path& file);

// The help viewer could not open the help: a heading and the path it was given.
std::string HelpOpenFailedText(const std::filesystem::path& file);

} // namespace shell
