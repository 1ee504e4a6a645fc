// The version window made at start beside the main window.
#include "shell/ui/TVersionForm.h"
#include "widgets/ui/TLabel3Dj.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace {

TEST(VersionForm, NameVersionAndServiceLine) {
    shell::ui::TVersionForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(form.ProductName()->Caption(), QStringLiteral("Tomberly＆競馬新聞"));
    EXPECT_EQ(form.Comments()->Caption(), QStringLiteral("for JRA-VAN Data Lab."));
    EXPECT_TRUE(form.Version()->Caption().isEmpty());
    form.SetVersion("Ver.1.30");
    EXPECT_EQ(form.Version()->Caption(), QStringLiteral("Ver.1.30"));
    for (const char* name : {"ProductName", "Version", "Comments"}) {
        EXPECT_NE(form.findChild<widgets::TLabel3Dj*>(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_EQ(form.OKButton()->text(), QStringLiteral("OK"));
    // The labels fit the window.
    form.show();
    QApplication::processEvents();
    for (const widgets::TLabel3Dj* label : {form.ProductName(), form.Version(), form.Comments()}) {
        const QRect box(label->mapTo(&form, QPoint(0, 0)), label->size());
        EXPECT_TRUE(form.rect().contains(box)) << label->objectName().toStdString();
    }
    form.hide();
}

} // namespace
