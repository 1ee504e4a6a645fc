// Where the program's help lies under the data root folder.
//
// The help contents command opens the compiled help file at its table of contents through
// HTML Help on Windows; on other systems, where there is no HTML Help, the program's own help
// window shows the same pages as plain HTML. The build puts both beside the program file.
#pragma once

#include <filesystem>
#include <string_view>

namespace shell {

// File name of the compiled help file in the data root folder.
inline constexpr std::string_view kHelpFileName = "Quillmead.chm";

// Folder of the plain HTML help pages in the data root folder, and its contents page.
inline constexpr std::string_view kHelpHtmlFolder = "help";
inline constexpr std::string_view kHelpHtmlIndexName = "index.html";

// The compiled help file: data root folder + "\Quillmead.chm". A trailing separator on the
// data root gives the same path.
std::filesystem::path HelpFilePath(const std::filesystem::path& dataRoot);

// The table-of-contents page of the plain HTML help: data root folder + "\help\index.html".
std::filesystem::path HelpHtmlIndex(const std::filesystem::path& dataRoot);

} // namespace shell
