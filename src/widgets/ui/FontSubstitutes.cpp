#include "widgets/ui/FontSubstitutes.h"

#include <QFont>
#include <QFontDatabase>

namespace widgets {

namespace {

// Each Windows face with its romanised name and the faces of the same design elsewhere.
struct TFaceFamily {
    const char16_t* face;
    const char16_t* romanised;
    const char16_t* local;
};

constexpr TFaceFamily kFaces[] = {
    {u"ＭＳ ゴシック", u"MS Gothic", u"IPAGothic"},
    {u"ＭＳ Ｐゴシック", u"MS PGothic", u"IPAPGothic"},
    {u"ＭＳ Ｐ明朝", u"MS PMincho", u"IPAPMincho"},
};

// The last resort for every face: a Japanese face many systems carry.
constexpr char16_t kLastResort[] = u"Noto Sans CJK JP";

} // namespace

std::vector<TFontSubstitute>
FontSubstitutesFor(const std::function<bool(const QString&)>& hasFamily, bool windows) {
    std::vector<TFontSubstitute> wanted;
    for (const TFaceFamily& family : kFaces) {
        const QString face = QString::fromUtf16(family.face);
        if (hasFamily(face)) {
            continue;
        }
        TFontSubstitute substitute{face, {}};
        if (windows) {
            substitute.substitutes << QString::fromUtf16(family.romanised);
        }
        substitute.substitutes << QString::fromUtf16(family.local)
                               << QString::fromUtf16(kLastResort);
        wanted.push_back(substitute);
    }
    return wanted;
}

std::vector<TFontSubstitute> RegisterFontSubstitutes() {
#ifdef Q_OS_WIN
    constexpr bool windows = true;
#else
    constexpr bool windows = false;
#endif
    const auto wanted = FontSubstitutesFor(
        [](const QString& face) { return QFontDatabase::hasFamily(face); }, windows);
    for (const TFontSubstitute& substitute : wanted) {
        QFont::insertSubstitutions(substitute.face, substitute.substitutes);
    }
    return wanted;
}

} // namespace widgets
