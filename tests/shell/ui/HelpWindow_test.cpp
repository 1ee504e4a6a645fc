// The program's own help window on a small help folder: the contents list from the contents
// file, pages opened from it and from links, back and forward, and links that leave the help.
#include "shell/ui/THelpWindow.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTextBrowser>
#include <QTreeWidget>

namespace {

namespace fs = std::filesystem;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;

QString U(const char* text) {
    return QString::fromUtf8(text);
}

class HelpWindowTest : public ::testing::Test {
protected:
    HelpWindowTest() {
        WriteFileBytes(
            root / "index.html",
            "<html><body><h1>目次</h1><a href=\"card.html#grid\">出馬表へ</a></body></html>");
        WriteFileBytes(root / "card.html", "<html><body><h1 id=\"grid\">出馬表</h1>"
                                           "<a href=\"../outside.html\">外</a></body></html>");
        WriteFileBytes(root.path().parent_path() / "outside.html", "<html>outside</html>");
        WriteFileBytes(root / "Quillmead.hhc",
                       "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"目次\">"
                       "<param name=\"Local\" value=\"index.html\"></OBJECT>"
                       "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"画面\">"
                       "</OBJECT><UL><LI><OBJECT type=\"text/sitemap\">"
                       "<param name=\"Name\" value=\"出馬表\"><param name=\"Local\" "
                       "value=\"card.html\"></OBJECT></UL></UL>");
    }

    QString Shown() const { return window.Page().fileName(); }

    TempDir root;
    shell::ui::THelpWindow window;
};

TEST_F(HelpWindowTest, ContentsLinksBackAndForwardMoveBetweenPages) {
    ASSERT_EQ(window.Open(root.path()), "");
    QTreeWidget* list = window.ContentsList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), U("目次"));
    QTreeWidgetItem* screens = list->topLevelItem(1);
    ASSERT_EQ(screens->childCount(), 1);
    EXPECT_EQ(screens->child(0)->text(0), U("出馬表"));
    EXPECT_EQ(Shown(), "index.html");
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));

    // A line of the contents opens its page; a heading without a page opens nothing.
    list->setCurrentItem(screens);
    EXPECT_EQ(Shown(), "index.html");
    list->setCurrentItem(screens->child(0));
    EXPECT_EQ(Shown(), "card.html");
    EXPECT_TRUE(window.Browser()->toPlainText().contains(U("出馬表")));

    // Back and forward, and the contents line follows the page.
    ASSERT_TRUE(window.BackAction()->isEnabled());
    window.BackAction()->trigger();
    EXPECT_EQ(Shown(), "index.html");
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    ASSERT_TRUE(window.ForwardAction()->isEnabled());
    window.ForwardAction()->trigger();
    EXPECT_EQ(Shown(), "card.html");

    // A link of a page, with its anchor; a link out of the help folder is not followed.
    window.BackAction()->trigger();
    emit window.Browser()->anchorClicked(QUrl(QStringLiteral("card.html#grid")));
    EXPECT_EQ(window.Page().fragment(), "grid");
    EXPECT_EQ(list->currentItem(), screens->child(0));
    emit window.Browser()->anchorClicked(QUrl(QStringLiteral("../outside.html")));
    EXPECT_EQ(Shown(), "card.html");
}

TEST_F(HelpWindowTest, WithoutContentsFileTheContentsPageStandsAloneAndNoPagesIsAMessage) {
    fs::remove(root / "Quillmead.hhc");
    ASSERT_EQ(window.Open(root.path()), "");
    ASSERT_EQ(window.ContentsList()->topLevelItemCount(), 1);
    EXPECT_EQ(Shown(), "index.html");

    TempDir empty;
    EXPECT_FALSE(window.Open(empty.path()).empty());
}

} // namespace
