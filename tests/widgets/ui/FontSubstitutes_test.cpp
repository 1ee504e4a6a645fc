#include "support/ui/QtPrinters.h"
#include "widgets/ui/FontSubstitutes.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>

namespace widgets {
namespace {

const QString kGothic = QString::fromUtf8("ＭＳ ゴシック");
const QString kPGothic = QString::fromUtf8("ＭＳ Ｐゴシック");
const QString kPMincho = QString::fromUtf8("ＭＳ Ｐ明朝");

TEST(FontSubstitutes, EveryMissingFaceGetsItsIpaFaceThenNoto) {
    const auto none = [](const QString&) { return false; };
    const auto wanted = FontSubstitutesFor(none, false);
    const std::vector<TFontSubstitute> expected = {
        {kGothic, {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")}},
        {kPGothic, {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")}},
        {kPMincho, {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Sans CJK JP")}},
    };
    EXPECT_EQ(wanted, expected);
}

TEST(FontSubstitutes, WindowsTriesTheRomanisedNameFirst) {
    const auto wanted = FontSubstitutesFor([](const QString&) { return false; }, true);
    ASSERT_EQ(wanted.size(), 3u);
    EXPECT_EQ(wanted[0].substitutes.front(), QStringLiteral("MS Gothic"));
    EXPECT_EQ(wanted[1].substitutes.front(), QStringLiteral("MS PGothic"));
    EXPECT_EQ(wanted[2].substitutes.front(), QStringLiteral("MS PMincho"));
    EXPECT_EQ(wanted[0].substitutes.size(), 3);
}

TEST(FontSubstitutes, InstalledFacesAreLeftAlone) {
    const auto wanted =
        FontSubstitutesFor([](const QString& face) { return face == kPGothic; }, false);
    ASSERT_EQ(wanted.size(), 2u);
    EXPECT_EQ(wanted[0].face, kGothic);
    EXPECT_EQ(wanted[1].face, kPMincho);
    EXPECT_TRUE(FontSubstitutesFor([](const QString&) { return true; }, true).empty());
}

// The test program registers the substitutes at start, as the program does.
class InstalledFonts : public ::testing::Test {
protected:
    void SetUp() override {
        if (QFontDatabase::hasFamily(kGothic)) {
            GTEST_SKIP() << "this system has the Windows faces themselves";
        }
        if (!QFontDatabase::hasFamily(QStringLiteral("IPAGothic"))) {
            GTEST_SKIP() << "the IPA fonts are not installed";
        }
    }
};

TEST_F(InstalledFonts, WindowsFacesResolveToTheIpaFaces) {
    // Qt keeps substitute names in lower case.
    EXPECT_EQ(QFont::substitutes(kGothic).value(0).compare(QStringLiteral("IPAGothic"),
                                                           Qt::CaseInsensitive),
              0);
    EXPECT_EQ(QFontInfo(QFont(kGothic)).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(QFontInfo(QFont(kPGothic)).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(QFont(kPMincho)).family(), QStringLiteral("IPAPMincho"));
}

TEST_F(InstalledFonts, HalfWidthIsHalfOfFullWidthInTheFixedPitchFace) {
    // The sizes the windows use (12, 13, 15 px) and a few more, plain and bold.
    for (int pixels : {10, 12, 13, 14, 15, 16, 20, 24}) {
        for (bool bold : {false, true}) {
            QFont font(kGothic);
            font.setPixelSize(pixels);
            font.setBold(bold);
            const QFontMetricsF exact(font);
            const QString where = QStringLiteral("%1 px%2").arg(pixels).arg(bold ? " bold" : "");
            // Half-width letters, digits and katakana against full-width kanji, letters and
            // circled numbers.
            EXPECT_EQ(exact.horizontalAdvance(QStringLiteral("A")) * 2,
                      exact.horizontalAdvance(QString::fromUtf8("漢")))
                << where.toStdString();
            EXPECT_EQ(exact.horizontalAdvance(QString::fromUtf8("ｱ")) * 2,
                      exact.horizontalAdvance(QString::fromUtf8("Ａ")))
                << where.toStdString();
            EXPECT_EQ(exact.horizontalAdvance(QStringLiteral("9")) * 2,
                      exact.horizontalAdvance(QString::fromUtf8("①")))
                << where.toStdString();
            // Lines of equal byte width are equally wide: 12 bytes each.
            EXPECT_EQ(exact.horizontalAdvance(QString::fromUtf8(" 1着:  3回  ")),
                      exact.horizontalAdvance(QString::fromUtf8("サラ系３歳")) +
                          exact.horizontalAdvance(QStringLiteral("  ")))
                << where.toStdString();
            const QFontMetrics whole(font);
            EXPECT_EQ(whole.horizontalAdvance(QStringLiteral("AB")),
                      whole.horizontalAdvance(QString::fromUtf8("漢")))
                << where.toStdString();
            if (pixels % 2 == 0) {
                // At even sizes every single character is a whole number of pixels.
                EXPECT_EQ(whole.horizontalAdvance(QStringLiteral("A")) * 2,
                          whole.horizontalAdvance(QString::fromUtf8("漢")))
                    << where.toStdString();
            }
        }
    }
}

} // namespace
} // namespace widgets
