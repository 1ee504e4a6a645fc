// The help's table of contents, as the help project keeps it for HTML Help (the "Sitemap"
// contents file, Quillmead.hhc): the program's own help window lists the same headings and
// pages from it, so that a new page needs only its file and its line in the contents.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// File name of the contents file in the help pages' folder.
inline constexpr std::string_view kHelpContentsName = "Quillmead.hhc";

// One line of the contents: a heading, with the page it opens when it has one.
struct THelpContentsEntry {
    std::string name; // CP932 text of the line
    std::string page; // the page's file name relative to the help folder (ASCII), or empty
    int level = 0;    // depth: 0 for the top lines, 1 under a top line, ...

    friend bool operator==(const THelpContentsEntry&, const THelpContentsEntry&) = default;
};

// The lines of a contents file (UTF-8 text) in their order. Each <OBJECT type="text/sitemap">
// is a line, named by its "Name" parameter and opening its "Local" parameter; its depth is
// the number of <UL> lists it lies in, less one. Tag and parameter names are read without
// regard to letter case; the entities &amp; &lt; &gt; &quot; &#39; are decoded. A page that
// could lead out of the help folder (an absolute path, "..", a drive or a scheme such as
// "http:") is dropped, leaving the line as a heading.
std::vector<THelpContentsEntry> ParseHelpContents(std::string_view utf8);

// The contents file of the plain HTML help: data root + "\help\Quillmead.hhc".
std::filesystem::path HelpHtmlContents(const std::filesystem::path& dataRoot);

} // namespace shell
