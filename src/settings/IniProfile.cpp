#include "settings/IniProfile.h"

#include "files/WholeFile.h"
#include "jvdata/SjisText.h"

#include <utility>

namespace settings {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}

// Blanks and tabs never occur inside a two-byte character, so trimming bytes is safe.
std::string_view Trim(std::string_view text) noexcept {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char FoldCase(char c) noexcept {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
}

bool HasLineBreakOrNul(std::string_view text) noexcept {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// One line of the file: its text without the line end, and where the next line begins.
struct Line {
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0;   // one past the last byte before the line end
    std::size_t next = 0;  // first byte of the next line (past CR LF, LF or CR)
};

std::size_t FirstLineStart(std::string_view content) noexcept {
    return content.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

Line LineAt(std::string_view content, std::size_t begin) noexcept {
    Line line;
    line.begin = begin;
    const std::size_t brk = content.find_first_of("\r\n", begin);
    if (brk == std::string_view::npos) {
        line.end = line.next = content.size();
    } else {
        line.end = brk;
        const bool crlf =
            content[brk] == '\r' && brk + 1 < content.size() && content[brk + 1] == '\n';
        line.next = brk + (crlf ? 2 : 1);
    }
    return line;
}

// What a line of the file is.
struct LineMeaning {
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string_view name;  // the section or key name, trimmed
    std::string_view value; // the key's value, trimmed
};

LineMeaning Understand(std::string_view text) noexcept {
    LineMeaning meaning;
    text = Trim(text);
    if (text.empty() || text.front() == ';') {
        return meaning;
    }
    if (text.front() == '[') {
        // The name runs to the first "]" that stands as a character: in "[ゾーン]" the second
        // byte of "ゾ" is 5D as well. Without a "]" it runs to the line end.
        std::string_view rest = text.substr(1);
        std::size_t pos = 0;
        while (pos < rest.size() && !(rest[pos] == ']' && Sjis::CharBytesAt(rest, pos) == 1)) {
            pos += Sjis::CharBytesAt(rest, pos);
        }
        meaning.kind = LineMeaning::Kind::Section;
        meaning.name = Trim(rest.substr(0, pos));
        return meaning;
    }
    // "=" (3D) is below every second byte of a two-byte character, so a plain search is safe.
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return meaning;
    }
    const std::string_view name = Trim(text.substr(0, equals));
    if (name.empty()) {
        return meaning;
    }
    meaning.kind = LineMeaning::Kind::Key;
    meaning.name = name;
    meaning.value = Trim(text.substr(equals + 1));
    return meaning;
}

bool AtLineStart(std::string_view content, std::size_t pos) noexcept {
    return pos <= FirstLineStart(content) || content[pos - 1] == '\n' || content[pos - 1] == '\r';
}

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=").append(value);
    return line;
}

} // namespace

bool ProfileNamesEqual(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t pos = 0; pos < a.size();) {
        const std::size_t bytes = Sjis::CharBytesAt(a, pos);
        if (bytes == 2) {
            // A second byte may look like a letter ("ア" 83 41, "ヂ" 83 61): compare exactly.
            if (a[pos] != b[pos] || a[pos + 1] != b[pos + 1]) {
                return false;
            }
        } else if (FoldCase(a[pos]) != FoldCase(b[pos])) {
            return false;
        }
        pos += bytes;
    }
    return true;
}

std::optional<std::string_view> FindProfileValue(std::string_view content, std::string_view section,
                                                 std::string_view key) noexcept {
    section = Trim(section);
    key = Trim(key);
    bool inSection = false;
    for (std::size_t pos = FirstLineStart(content); pos < content.size();) {
        const Line line = LineAt(content, pos);
        pos = line.next;
        const LineMeaning meaning = Understand(content.substr(line.begin, line.end - line.begin));
        if (meaning.kind == LineMeaning::Kind::Section) {
            if (inSection) {
                return std::nullopt; // only the first section of that name counts
            }
            inSection = ProfileNamesEqual(meaning.name, section);
        } else if (inSection && meaning.kind == LineMeaning::Kind::Key &&
                   ProfileNamesEqual(meaning.name, key)) {
            return meaning.value;
        }
    }
    return std::nullopt;
}

std::string SetProfileValue(std::string_view content, std::string_view section,
                            std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    std::string out;
    out.reserve(content.size() + section.size() + key.size() + value.size() + 8);

    // Inserts the key line at pos (a line start, or the end of an unterminated last line).
    const auto insertAt = [&](std::size_t pos, std::string_view lines) {
        out.append(content.substr(0, pos));
        if (!AtLineStart(content, pos)) {
            out.append(kLineEnd);
        }
        out.append(lines);
        out.append(content.substr(pos));
        return std::move(out);
    };

    bool inSection = false;
    std::size_t sectionEnd = 0; // past the header or the last key line of the section
    for (std::size_t pos = FirstLineStart(content); pos < content.size();) {
        const Line line = LineAt(content, pos);
        pos = line.next;
        const LineMeaning meaning = Understand(content.substr(line.begin, line.end - line.begin));
        if (meaning.kind == LineMeaning::Kind::Section) {
            if (inSection) {
                break;
            }
            inSection = ProfileNamesEqual(meaning.name, section);
            sectionEnd = line.next;
        } else if (inSection && meaning.kind == LineMeaning::Kind::Key) {
            if (ProfileNamesEqual(meaning.name, key)) {
                out.append(content.substr(0, line.begin));
                out.append(KeyLine(meaning.name, value));
                out.append(content.substr(line.end));
                return out;
            }
            sectionEnd = line.next;
        }
    }
    if (inSection) {
        return insertAt(sectionEnd, KeyLine(key, value).append(kLineEnd));
    }
    std::string lines;
    lines.append("[").append(section).append("]").append(kLineEnd);
    lines.append(KeyLine(key, value)).append(kLineEnd);
    return insertAt(content.size(), lines);
}

bool IsProfileSectionName(std::string_view section) {
    section = Trim(section);
    if (section.empty() || HasLineBreakOrNul(section)) {
        return false;
    }
    const std::string line = "[" + std::string(section) + "]";
    const LineMeaning meaning = Understand(line);
    return meaning.kind == LineMeaning::Kind::Section && meaning.name == section;
}

bool IsProfileKeyName(std::string_view key) {
    key = Trim(key);
    if (key.empty() || HasLineBreakOrNul(key)) {
        return false;
    }
    const std::string line = KeyLine(key, "0");
    const LineMeaning meaning = Understand(line);
    return meaning.kind == LineMeaning::Kind::Key && meaning.name == key;
}

bool IsProfileValue(std::string_view value) noexcept {
    return !HasLineBreakOrNul(value);
}

IniProfile::IniProfile(std::filesystem::path file, bool createFolder)
    : file_(std::move(file)), createFolder_(createFolder) {}

std::optional<std::string> IniProfile::ReadValue(std::string_view section,
                                                 std::string_view key) const {
    const files::FileReadResult file = files::ReadWholeFile(file_, files::kSettingsReadBound);
    if (file.status != files::FileReadStatus::Read) {
        return std::nullopt;
    }
    if (auto value = FindProfileValue(file.bytes, section, key)) {
        return std::string(*value);
    }
    return std::nullopt;
}

std::string IniProfile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    if (auto value = ReadValue(section, key)) {
        return std::move(*value);
    }
    return std::string(defaultValue);
}

ProfileWriteResult IniProfile::WriteString(std::string_view section, std::string_view key,
                                           std::string_view value) const {
    if (!IsProfileSectionName(section) || !IsProfileKeyName(key)) {
        return {ProfileWriteStatus::BadName, {}};
    }
    if (!IsProfileValue(value)) {
        return {ProfileWriteStatus::BadValue, {}};
    }
    const files::FileReadResult old = files::ReadWholeFile(file_, files::kSettingsReadBound);
    if (old.status == files::FileReadStatus::Failed) {
        // Writing now would replace a file we could not read by one holding this key alone.
        return {ProfileWriteStatus::ReadFailed, old.error};
    }
    const std::string updated = SetProfileValue(old.bytes, section, key, value);
    if (old.status == files::FileReadStatus::Read && updated == old.bytes) {
        return {}; // the file holds this value already
    }
    if (std::error_code error = files::ReplaceWholeFile(file_, updated, createFolder_)) {
        return {ProfileWriteStatus::WriteFailed, error};
    }
    return {};
}

} // namespace settings
