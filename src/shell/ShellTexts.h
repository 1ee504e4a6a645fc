// Texts of the application shell that the program shows at start-up and from its main window.
// All are CP932 bytes.
#pragma once

#include <filesystem>
#include <string>

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

// The help file (or the help pages' contents page) is not there: a heading and its path.
std::string HelpFileMissingText(const std::filesystem::path& file);

// The help viewer could not open the help: a heading and the path it was given.
std::string HelpOpenFailedText(const std::filesystem::path& file);

} // namespace shell
