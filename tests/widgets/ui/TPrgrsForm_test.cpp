// The progress window of a race-day load.
#include "support/TestSupport.h"
#include "widgets/ui/TPrgrsForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

namespace {

using namespace keiba::test;

TEST(PrgrsForm, BorderlessOnTopBoxWithItsThreeRows) {
    widgets::TPrgrsForm form;
    EXPECT_EQ(form.size(), QSize(349, 59));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Label1()->text(), QStringLiteral("データを読み込んでいます"));
    EXPECT_EQ(form.StaticText1()->objectName(), QStringLiteral("StaticText1"));
    EXPECT_EQ(form.ProgressBar1()->objectName(), QStringLiteral("ProgressBar1"));
    EXPECT_FALSE(form.ProgressBar1()->isTextVisible());
    // The rows lie one under the other inside the box.
    const QRect rows[] = {form.Label1()->geometry(), form.StaticText1()->geometry(),
                          form.ProgressBar1()->geometry()};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(form.rect().adjusted(2, 2, -2, -2).contains(rows[i])) << i;
        if (i > 0) {
            EXPECT_GE(rows[i].top(), rows[i - 1].bottom()) << i;
        }
    }
}

TEST(PrgrsForm, ShowsALoadCentredAndFollowsIt) {
    widgets::TPrgrsForm form;
    form.Start(S("2004年05月01日東京"), 24);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.StaticText1()->text(), QStringLiteral("2004年05月01日東京"));
    EXPECT_EQ(form.ProgressBar1()->maximum(), 24);
    EXPECT_EQ(form.ProgressBar1()->value(), 0);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form.geometry().center(), screen.center());

    for (int i = 0; i < 20; ++i) {
        form.StepIt();
    }
    EXPECT_EQ(form.ProgressBar1()->value(), 20);
    for (int i = 0; i < 10; ++i) {
        form.StepIt();
    }
    EXPECT_EQ(form.ProgressBar1()->value(), 24) << "never beyond the maximum";
    form.Finish();
    EXPECT_FALSE(form.isVisible());

    // A second load starts again from 0.
    form.Start(S("2004年05月02日東京"), 24);
    EXPECT_EQ(form.ProgressBar1()->value(), 0);
    form.Finish();
}

} // namespace
