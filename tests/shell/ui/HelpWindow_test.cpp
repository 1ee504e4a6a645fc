// The program's own help window on a small help folder.
#include "shell/ui/THelpWindow.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTextBrowser>
#include <QTreeWidget>

namespace {

using keiba::test::WriteFileBytes;

TEST(HelpWindow, ContentsLinksBackAndForwardMoveBetweenPagesOfTheHelpOnly) {
    keiba::test::TempDir root;
    WriteFileBytes(root / "index.html", "<html><a href=\"card.html#grid\">card</a></html>");
    WriteFileBytes(root / "card.html", "<html><h1 id=\"grid\">x</h1></html>");
    WriteFileBytes(root.path().parent_path() / "outside.html", "<html>outside</html>");
    WriteFileBytes(root / "Quillmead.hhc",
                   "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"目次\">"
                   "<param name=\"Local\" value=\"index.html\"></OBJECT><LI><OBJECT "
                   "type=\"text/sitemap\"><param name=\"Name\" value=\"画面\"></OBJECT><UL><LI>"
                   "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"出馬表\"><param "
                   "name=\"Local\" value=\"card.html\"></OBJECT></UL></UL>");
    shell::ui::THelpWindow window;
    ASSERT_EQ(window.Open(root.path()), "");
    const auto shown = [&] { return window.Page().fileName(); };
    QTreeWidget* list = window.ContentsList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    QTreeWidgetItem* screens = list->topLevelItem(1);
    ASSERT_EQ(screens->childCount(), 1);
    EXPECT_EQ(screens->child(0)->text(0), QString::fromUtf8("出馬表"));
    EXPECT_EQ(shown(), "index.html");

    list->setCurrentItem(screens); // a heading opens nothing
    EXPECT_EQ(shown(), "index.html");
    list->setCurrentItem(screens->child(0));
    EXPECT_EQ(shown(), "card.html");
    window.BackAction()->trigger();
    EXPECT_EQ(shown(), "index.html");
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0)) << "the contents follow the page";
    ASSERT_TRUE(window.ForwardAction()->isEnabled());

    emit window.Browser()->anchorClicked(QUrl(QStringLiteral("card.html#grid")));
    EXPECT_EQ(window.Page().fragment(), "grid");
    EXPECT_EQ(list->currentItem(), screens->child(0));
    emit window.Browser()->anchorClicked(QUrl(QStringLiteral("../outside.html")));
    EXPECT_EQ(shown(), "card.html");

    keiba::test::TempDir empty;
    EXPECT_FALSE(window.Open(empty.path()).empty()) << "no pages: a message";
}

} // namespace
