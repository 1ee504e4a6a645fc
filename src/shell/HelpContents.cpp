#include "shell/HelpContents.h"

#include "jvdata/SjisText.h"
#include "shell/HelpFile.h"

#include <algorithm>
#include <optional>

namespace shell {

namespace {

char Lower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), Lower);
    return lowered;
}

// Text with the entities a contents file uses decoded.
std::string Decoded(std::string_view text) {
    static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"},
    };
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        bool replaced = false;
        if (text[pos] == '&') {
            for (const auto& [entity, character] : kEntities) {
                if (text.substr(pos).starts_with(entity)) {
                    out += character;
                    pos += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            out += text[pos++];
        }
    }
    return out;
}

// The value of attribute name (lower case) in a tag's text, if it is there.
std::optional<std::string> Attribute(std::string_view tag, std::string_view name) {
    const std::string lowered = Lowered(tag);
    for (std::size_t at = lowered.find(name); at != std::string::npos;
         at = lowered.find(name, at + 1)) {
        const bool starts = at > 0 && (lowered[at - 1] == ' ' || lowered[at - 1] == '\t' ||
                                       lowered[at - 1] == '\n' || lowered[at - 1] == '\r');
        std::size_t pos = at + name.size();
        while (pos < tag.size() && tag[pos] == ' ') {
            ++pos;
        }
        if (!starts || pos >= tag.size() || tag[pos] != '=') {
            continue;
        }
        ++pos;
        while (pos < tag.size() && tag[pos] == ' ') {
            ++pos;
        }
        if (pos < tag.size() && (tag[pos] == '"' || tag[pos] == '\'')) {
            const char quote = tag[pos];
            const std::size_t end = tag.find(quote, pos + 1);
            return Decoded(
                tag.substr(pos + 1, end == std::string_view::npos ? tag.npos : end - pos - 1));
        }
        const std::size_t end = tag.find_first_of(" \t\r\n>", pos);
        return Decoded(tag.substr(pos, end == std::string_view::npos ? tag.npos : end - pos));
    }
    return std::nullopt;
}

// A page that stays inside the help folder: relative, no "..", no drive, no scheme.
bool IsHelpPage(std::string_view page) {
    if (page.empty() || page.front() == '/' || page.front() == '\\' ||
        page.find(':') != std::string_view::npos) {
        return false;
    }
    std::size_t start = 0;
    while (start <= page.size()) {
        const std::size_t end = page.find_first_of("/\\", start);
        const std::string_view part =
            page.substr(start, end == std::string_view::npos ? page.npos : end - start);
        if (part == "..") {
            return false;
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

std::vector<THelpContentsEntry> ParseHelpContents(std::string_view utf8) {
    std::vector<THelpContentsEntry> entries;
    int lists = 0;
    std::optional<THelpContentsEntry> open; // the line whose OBJECT is being read
    for (std::size_t pos = utf8.find('<'); pos != std::string_view::npos;
         pos = utf8.find('<', pos + 1)) {
        const std::size_t end = utf8.find('>', pos);
        if (end == std::string_view::npos) {
            break;
        }
        const std::string_view tag = utf8.substr(pos + 1, end - pos - 1);
        const std::string name = Lowered(tag.substr(0, tag.find_first_of(" \t\r\n")));
        if (name == "ul") {
            ++lists;
        } else if (name == "/ul") {
            lists = std::max(0, lists - 1);
        } else if (name == "object") {
            const std::optional<std::string> type = Attribute(tag, "type");
            if (type && Lowered(*type) == "text/sitemap") {
                open = THelpContentsEntry{{}, {}, std::max(0, lists - 1)};
            }
        } else if (name == "param" && open) {
            const std::string param = Lowered(Attribute(tag, "name").value_or(""));
            const std::string value = Attribute(tag, "value").value_or("");
            if (param == "name") {
                open->name = Sjis::FromUtf8(value);
            } else if (param == "local") {
                open->page = IsHelpPage(value) ? value : std::string();
            }
        } else if (name == "/object" && open) {
            entries.push_back(std::move(*open));
            open.reset();
        }
        pos = end;
    }
    return entries;
}

std::filesystem::path HelpHtmlContents(const std::filesystem::path& dataRoot) {
    return dataRoot / kHelpHtmlFolder / kHelpContentsName;
}

} // namespace shell
