#include "shell/ShellTexts.h"

#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"
#include "jvlink/JVResultMessage.h"

namespace shell {

const std::string& ApplicationTitle() {
    static const std::string text = Sjis::FromUtf8("Tomberly＆競馬新聞 ");
    return text;
}

const std::string& MainFormCaption() {
    static const std::string text = Sjis::FromUtf8("Tomberly&競馬新聞");
    return text;
}

const std::string& JVLinkMissingText() {
    static const std::string text =
        Sjis::FromUtf8("JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。");
    return text;
}

const std::string& ProductName() {
    static const std::string text = Sjis::FromUtf8("Tomberly＆競馬新聞");
    return text;
}

const std::string& VersionWindowComment() {
    static const std::string text = "for JRA-VAN Data Lab.";
    return text;
}

std::string JVLinkCallFailedText(std::string_view operation, std::string_view utf8Detail) {
    return KeibaFunc::JVErrorPrefix(operation) + Sjis::FromUtf8(utf8Detail);
}

std::string DateListFailedText(const std::filesystem::path& folder, const std::error_code& error) {
    static const std::string heading = Sjis::FromUtf8("開催日の一覧を作れませんでした。");
    return heading + "\r\n" + files::TextFromPath(folder) + "\r\n" + files::SystemErrorText(error);
}

std::string HelpFileMissingText(const std::filesystem::path& file) {
    static const std::string heading = Sjis::FromUtf8("ヘルプファイルが見つかりません。");
    return heading + "\r\n" + files::TextFromPath(file);
}

std::string HelpOpenFailedText(const std::filesystem::path& file) {
    static const std::string heading = Sjis::FromUtf8("ヘルプを表示できませんでした。");
    return heading + "\r\n" + files::TextFromPath(file);
}

} // namespace shell
