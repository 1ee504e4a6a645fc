#include "shell/ProgramVersion.h"

#include "jvdata/SjisText.h"

namespace shell {

namespace {

// The fixed parts around the version text in the software identifier.
constexpr std::string_view kSoftwareIdPrefix = "TOMBERLY-SHINBUN/";
constexpr std::string_view kSoftwareIdSuffix = "/JVDL";

} // namespace

std::string SoftwareIdentifier(std::string_view versionText) {
    std::string sid;
    sid.reserve(kSoftwareIdPrefix.size() + versionText.size() + kSoftwareIdSuffix.size());
    sid.append(kSoftwareIdPrefix).append(versionText).append(kSoftwareIdSuffix);
    return sid;
}

std::string JVLinkVersionDisplay(std::string_view version) {
    std::string display;
    for (std::size_t i = 1; i < 4 && i < version.size(); ++i) {
        if (!display.empty()) {
            display += '.';
        }
        display += version[i];
    }
    return display;
}

bool IsJVLinkVersionTooOld(std::string_view version) {
    return version < kRequiredJVLinkVersion;
}

std::string JVLinkVersionNotice(std::string_view version) {
    static const std::string first = Sjis::FromUtf8("ご利用中のJV-Linkのバージョンは[");
    static const std::string firstEnd = Sjis::FromUtf8("]です。");
    static const std::string second =
        Sjis::FromUtf8("本ソフトのご利用にはバージョン[4.9.0]以上が必要です。");
    static const std::string third = Sjis::FromUtf8(
        "JRA-VANのホームページより最新のJV-Linkを入手し、インストールしてください。");
    return first + JVLinkVersionDisplay(version) + firstEnd + "\r\n" + second + "\r\n" + third;
}

} // namespace shell
