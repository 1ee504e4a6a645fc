// The archive window without an index, and its bounds.
#include "archive/ui/TArchiveForm.h"
#include "support/ScriptedInteraction.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using keiba::test::S;

struct ArchiveWorld {
    keiba::test::TempDir root;
    keiba::test::ScriptedInteraction user;
    int opens = 0;

    archive::ui::TArchiveFormSetup Setup() {
        archive::ui::TArchiveFormSetup setup;
        setup.dataRoot = root.path();
        setup.settingsFile = root / "tomberly.ini";
        setup.interaction = &user;
        setup.openIndex = [this](const std::filesystem::path&) {
            ++opens;
            return archive::ui::TIndexOpening{nullptr,
                                              S("索引ファイルを作れません（読み取り専用）。")};
        };
        return setup;
    }
};

TEST(ArchiveForm, WithoutAnIndexTheWindowSaysWhyAndStaysUsable) {
    ArchiveWorld world;
    archive::ui::TArchiveForm form(world.Setup());
    EXPECT_FALSE(form.OpenIndex());
    EXPECT_FALSE(form.HasIndex());
    EXPECT_TRUE(form.Label1()->isVisibleTo(&form));
    EXPECT_EQ(form.Label1()->text(),
              QString::fromUtf8("索引ファイルを作れません（読み取り専用）。"));

    // A search tries the index again and lists nothing; the line over the list stays empty
    // because the top line says why.
    form.Edit1()->setText(QString::fromUtf8("ウマ"));
    form.Button1Click();
    EXPECT_EQ(world.opens, 2);
    EXPECT_EQ(form.StringGrid1()->rowCount(), 0);
    EXPECT_TRUE(form.Label2()->text().isEmpty());
    EXPECT_FALSE(form.Button2()->isEnabled());
    form.StringGrid1DblClick();
    form.Button3Click();

    // Statistics of a racecourse ask the index too and show no section.
    form.RadioGroup2()->button(4)->click();
    EXPECT_TRUE(form.ComboBox1()->isEnabled());
    EXPECT_FALSE(form.Edit2()->isEnabled());
    form.Button6Click();
    EXPECT_EQ(world.opens, 3);
    EXPECT_TRUE(form.SectionGrids().empty());
    EXPECT_TRUE(world.user.Events().empty());

    // An empty name asks for one, without asking the index.
    form.Edit1()->clear();
    form.Button1Click();
    EXPECT_EQ(world.opens, 3);
    EXPECT_EQ(form.Label2()->text(),
              QString::fromUtf8("名前（かな・漢字、名前の一部でも可）を入れてください。"));
}

TEST(ArchiveForm, KeepsItsBoundsInTheSettingsFile) {
    ArchiveWorld world;
    {
        archive::ui::TArchiveForm form(world.Setup());
        form.move(120, 80);
        form.resize(700, 500);
        form.close();
    }
    archive::ui::TArchiveForm again(world.Setup());
    EXPECT_EQ(again.pos(), QPoint(120, 80));
    EXPECT_EQ(again.size(), QSize(700, 500));
    EXPECT_NE(keiba::test::ReadFileBytes(world.root / "tomberly.ini").find("[Archivelocate]"),
              std::string::npos);
}

} // namespace
