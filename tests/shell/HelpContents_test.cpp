#include "shell/HelpContents.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using keiba::test::S;
using shell::ParseHelpContents;
using Lines = std::vector<shell::THelpContentsEntry>;

TEST(HelpContents, LinesKeepTheirOrderDepthAndPages) {
    const auto entries = ParseHelpContents(R"(<OBJECT type="text/site properties"></OBJECT><UL>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="目次"><param name="Local" value="index.html"></OBJECT>
  <LI><object TYPE='Text/Sitemap'><PARAM NAME="name" VALUE="画面"></object>
  <UL><LI><OBJECT type="text/sitemap">
        <param name="Name" value="出馬表 &amp; &quot;成績&quot;">
        <param name="Local" value="sub/racecard.html#grid"></OBJECT></UL>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="困ったとき"><param name="Local" value=trouble.html></OBJECT>
</UL>)");
    EXPECT_EQ(entries, (Lines{{S("目次"), "index.html", 0},
                              {S("画面"), "", 0},
                              {S("出馬表 & \"成績\""), "sub/racecard.html#grid", 1},
                              {S("困ったとき"), "trouble.html", 0}}));
}

TEST(HelpContents, PagesOutsideTheHelpFolderAreDropped) {
    for (const char* page : {"../x.html", "sub/../../x.html", "/etc/passwd", "\\\\host\\x.html",
                             "C:x.html", "http://example.com/", "javascript:alert(1)"}) {
        const auto entries = ParseHelpContents(
            std::string("<OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"") + page +
            "\"></OBJECT>");
        ASSERT_EQ(entries.size(), 1u) << page;
        EXPECT_EQ(entries[0].page, "") << page;
    }
}

} // namespace
