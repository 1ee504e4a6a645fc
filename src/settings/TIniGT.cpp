#include "settings/TIniGT.h"

#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"

#include <charconv>

namespace settings {

namespace fs = std::filesystem;

namespace {

// The half-width corner brackets "｢" and "｣" of Shift-JIS.
constexpr char kOpenBracket = '\xA2';
constexpr char kCloseBracket = '\xA3';

// A whole decimal number with an optional sign that fits 32 bits; nothing otherwise.
std::optional<int> ParseInteger(std::string_view text) {
    text = Sjis::TrimBlanks(text);
    if (text.size() > 1 && text.front() == '+') {
        text.remove_prefix(1);
        if (text.front() < '0' || text.front() > '9') {
            return std::nullopt;
        }
    }
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// Messages for the user, typed once in UTF-8.
std::string Message(std::string_view utf8) {
    return Sjis::FromUtf8(utf8);
}

std::string NameText(std::string_view section, std::string_view key) {
    return "[" + std::string(section) + "] " + std::string(key);
}

std::string ReasonText(const std::error_code& error) {
    const std::string reason = files::SystemErrorText(error);
    return reason.empty() ? std::string() : Message("（") + reason + Message("）");
}

} // namespace

std::string UnquoteSettingText(std::string_view value) {
    if (value == "\"\"" || value == std::string_view("\xA2\xA3")) {
        return {};
    }
    if (value.size() > 2) {
        const bool doubleQuoted = value.front() == '"' && value.back() == '"';
        // The closing byte must be the character "｣", not the second byte of a kanji or
        // kana ("ぅ" is 82 A3): cutting that would leave half a character behind.
        const bool bracketed = value.front() == kOpenBracket && value.back() == kCloseBracket &&
                               !Sjis::IsInsideChar(value, value.size() - 1);
        if (doubleQuoted || bracketed) {
            return std::string(value.substr(1, value.size() - 2));
        }
    }
    return std::string(value);
}

TIniGT::TIniGT(std::string_view fileName, TIniGTDefaultDir defaultDir) : defaultDir_(defaultDir) {
    SetFileName(fileName);
}

void TIniGT::SetFileName(std::string_view fileName) {
    fileName_ = std::string(fileName);
    namePath_ = files::PathFromText(fileName_);
    Resolve();
}

void TIniGT::SetDefaultDir(TIniGTDefaultDir defaultDir) {
    defaultDir_ = defaultDir;
    Resolve();
}

void TIniGT::Loaded() {
    if (!fileName_.empty()) {
        return;
    }
    // Keep the path itself, not its CP932 text: a folder name with characters outside CP932
    // must still lead to the right file.
    namePath_ = files::ProgramFile();
    namePath_.replace_extension(".ini");
    fileName_ = files::TextFromPath(namePath_);
    Resolve();
}

const fs::path& TIniGT::FilePath() const noexcept {
    static const fs::path none;
    return profile_ ? profile_->File() : none;
}

void TIniGT::Resolve() {
    profile_.reset();
    if (namePath_.empty()) {
        return;
    }
    if (namePath_.has_parent_path()) {
        profile_.emplace(namePath_);
        return;
    }
    switch (defaultDir_) {
    case TIniGTDefaultDir::ddApplication:
        profile_.emplace(files::ProgramFolder() / namePath_);
        break;
    case TIniGTDefaultDir::ddWindows:
#if defined(_WIN32)
        profile_.emplace(files::WindowsFolder() / namePath_);
#else
        // The per-user configuration folder need not exist yet: the first write makes it.
        profile_.emplace(files::WindowsFolder() / namePath_, true);
#endif
        break;
    case TIniGTDefaultDir::ddNone:
        profile_.emplace(namePath_);
        break;
    }
}

int TIniGT::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    if (!profile_) {
        return defaultValue;
    }
    if (auto value = profile_->ReadValue(section, key)) {
        return ParseInteger(*value).value_or(defaultValue);
    }
    return defaultValue;
}

TIniGTStatus TIniGT::WriteInteger(std::string_view section, std::string_view key, int value) {
    return Write(section, key, std::to_string(value));
}

std::string TIniGT::ReadText(std::string_view section, std::string_view key,
                             std::string_view defaultValue) const {
    // The default goes in bracketed, so that unquoting gives it back unchanged.
    std::string bracketed;
    bracketed.reserve(defaultValue.size() + 2);
    bracketed.append(1, kOpenBracket).append(defaultValue).append(1, kCloseBracket);
    if (!profile_) {
        return UnquoteSettingText(bracketed);
    }
    return UnquoteSettingText(profile_->ReadString(section, key, bracketed));
}

TIniGTStatus TIniGT::WriteText(std::string_view section, std::string_view key,
                               std::string_view value) {
    return Write(section, key, value);
}

TIniGTStatus TIniGT::Write(std::string_view section, std::string_view key, std::string_view value) {
    if (!profile_) {
        return {TIniGTError::NoFileName, Message("設定ファイルの名前が決まっていません。"), {}};
    }
    const ProfileWriteResult result = profile_->WriteString(section, key, value);
    const std::string file = files::TextFromPath(profile_->File());
    switch (result.status) {
    case ProfileWriteStatus::Written:
        return {};
    case ProfileWriteStatus::BadName:
        return {TIniGTError::BadName,
                Message("設定の項目名が正しくないため書き込めません：") + NameText(section, key),
                {}};
    case ProfileWriteStatus::BadValue:
        return {TIniGTError::BadValue,
                Message("改行を含む設定値は書き込めません：") + NameText(section, key),
                {}};
    case ProfileWriteStatus::ReadFailed:
        return {TIniGTError::ReadFailed,
                Message("設定ファイル「") + file +
                    Message("」を読み込めないため、書き込みを取りやめました。") +
                    ReasonText(result.error),
                result.error};
    case ProfileWriteStatus::WriteFailed:
        break;
    }
    return {TIniGTError::WriteFailed,
            Message("設定ファイル「") + file + Message("」に書き込めませんでした。") +
                ReasonText(result.error),
            result.error};
}

} // namespace settings
