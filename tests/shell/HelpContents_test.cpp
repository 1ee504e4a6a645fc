#include "shell/HelpContents.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using keiba::test::S;
using shell::ParseHelpContents;
using shell::THelpContentsEntry;

TEST(HelpContents, LinesKeepTheirOrderDepthAndPages) {
    const auto entries = ParseHelpContents(R"(<HTML><BODY>
<OBJECT type="text/site properties"><param name="ImageType" value="Folder"></OBJECT>
<UL>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="目次"><param name="Local" value="index.html"></OBJECT>
  <LI><object TYPE='Text/Sitemap'><PARAM NAME="name" VALUE="画面"></object>
  <UL>
    <LI><OBJECT type="text/sitemap">
        <param name="Name" value="出馬表 &amp; 成績&quot;結果&quot;">
        <param name="Local" value="sub/racecard.html#grid">
        </OBJECT>
  </UL>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="困ったとき"><param name="Local" value=trouble.html></OBJECT>
</UL></BODY></HTML>)");
    const std::vector<THelpContentsEntry> expected = {
        {S("目次"), "index.html", 0},
        {S("画面"), "", 0},
        {S("出馬表 & 成績\"結果\""), "sub/racecard.html#grid", 1},
        {S("困ったとき"), "trouble.html", 0},
    };
    EXPECT_EQ(entries, expected);
}

TEST(HelpContents, PagesOutsideTheHelpFolderAreDropped) {
    for (const char* page :
         {"../secret.html", "sub/../../x.html", "/etc/passwd", "\\\\host\\x.html", "C:x.html",
          "http://example.com/", "javascript:alert(1)"}) {
        const std::string text = std::string("<UL><LI><OBJECT type=\"text/sitemap\">"
                                             "<param name=\"Name\" value=\"x\">"
                                             "<param name=\"Local\" value=\"") +
                                 page + "\"></OBJECT></UL>";
        const auto entries = ParseHelpContents(text);
        ASSERT_EQ(entries.size(), 1u) << page;
        EXPECT_EQ(entries[0].page, "") << page;
    }
    // A file cut inside a tag, and unbalanced lists, give what was whole.
    EXPECT_EQ(ParseHelpContents("</UL></UL><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                                "value=\"a\"></OBJECT><OBJECT type=\"text/sitemap\"><param"),
              (std::vector<THelpContentsEntry>{{"a", "", 0}}));
}

} // namespace
