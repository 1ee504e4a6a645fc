#include "support/TestSupport.h"
#include "widgets/MessageDialog.h"

#include <gtest/gtest.h>

namespace widgets {
namespace {

using keiba::test::S;
using keiba::test::Show;

TEST(MessageDialog, SoundOfEachKind) {
    EXPECT_EQ(SoundOf(TMsgDlgType::mtWarning), TMessageSound::Exclamation);
    EXPECT_EQ(SoundOf(TMsgDlgType::mtError), TMessageSound::Hand);
    EXPECT_EQ(SoundOf(TMsgDlgType::mtInformation), TMessageSound::Asterisk);
    EXPECT_EQ(SoundOf(TMsgDlgType::mtConfirmation), TMessageSound::Question);
    EXPECT_EQ(SoundOf(TMsgDlgType::mtCustom), TMessageSound::DefaultBeep);
}

TEST(MessageDialog, TitlesOfTheKinds) {
    EXPECT_EQ(TitleOf(TMsgDlgType::mtWarning), S("警告"));
    EXPECT_EQ(TitleOf(TMsgDlgType::mtError), S("エラー"));
    EXPECT_EQ(TitleOf(TMsgDlgType::mtInformation), S("情報"));
    EXPECT_EQ(TitleOf(TMsgDlgType::mtConfirmation), S("確認"));
    EXPECT_EQ(TitleOf(TMsgDlgType::mtCustom), "");
}

TEST(MessageDialog, EveryButtonHasACaptionAndAResult) {
    struct Case {
        TMsgDlgBtn button;
        const char* caption;
        TModalResult result;
    };
    const Case cases[] = {
        {TMsgDlgBtn::mbYes, "はい(&Y)", TModalResult::mrYes},
        {TMsgDlgBtn::mbNo, "いいえ(&N)", TModalResult::mrNo},
        {TMsgDlgBtn::mbOK, "OK", TModalResult::mrOk},
        {TMsgDlgBtn::mbCancel, "キャンセル", TModalResult::mrCancel},
        {TMsgDlgBtn::mbAbort, "中止(&A)", TModalResult::mrAbort},
        {TMsgDlgBtn::mbRetry, "再試行(&R)", TModalResult::mrRetry},
        {TMsgDlgBtn::mbIgnore, "無視(&I)", TModalResult::mrIgnore},
        {TMsgDlgBtn::mbAll, "すべて(&L)", TModalResult::mrAll},
        {TMsgDlgBtn::mbNoToAll, "すべていいえ(&O)", TModalResult::mrNoToAll},
        {TMsgDlgBtn::mbYesToAll, "すべてはい(&T)", TModalResult::mrYesToAll},
        {TMsgDlgBtn::mbHelp, "ヘルプ(&H)", TModalResult::mrNone},
    };
    static_assert(std::size(cases) == kMsgDlgBtnCount);
    for (const Case& c : cases) {
        EXPECT_EQ(ButtonCaption(c.button), S(c.caption)) << Show(ButtonCaption(c.button));
        EXPECT_EQ(ResultOf(c.button), c.result) << c.caption;
    }
}

TEST(MessageDialog, ButtonSetListsInBoxOrder) {
    TMsgDlgButtons set{TMsgDlgBtn::mbHelp, TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbYes};
    EXPECT_EQ(set.Buttons(),
              (std::vector{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbHelp}));
    EXPECT_TRUE(set.Contains(TMsgDlgBtn::mbCancel));
    EXPECT_FALSE(set.Contains(TMsgDlgBtn::mbOK));
    set.Remove(TMsgDlgBtn::mbCancel);
    set.Insert(TMsgDlgBtn::mbOK);
    EXPECT_EQ(set, (TMsgDlgButtons{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbOK, TMsgDlgBtn::mbHelp}));
    EXPECT_TRUE(TMsgDlgButtons{}.Empty());
}

TEST(MessageDialog, AnEmptyButtonSetShowsOK) {
    EXPECT_EQ(ShownButtons({}), (TMsgDlgButtons{TMsgDlgBtn::mbOK}));
    const TMsgDlgButtons yesNo{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo};
    EXPECT_EQ(ShownButtons(yesNo), yesNo);
}

TEST(MessageDialog, DefaultAndEscapeButtons) {
    using B = TMsgDlgBtn;
    struct Case {
        TMsgDlgButtons buttons;
        std::optional<B> enter;
        std::optional<B> escape;
    };
    const Case cases[] = {
        {{B::mbOK}, B::mbOK, B::mbOK},
        {{B::mbOK, B::mbCancel}, B::mbOK, B::mbCancel},
        {{B::mbYes, B::mbNo}, B::mbYes, B::mbNo},
        {{B::mbYes, B::mbNo, B::mbCancel}, B::mbYes, B::mbCancel},
        {{B::mbAbort, B::mbRetry, B::mbIgnore}, B::mbRetry, std::nullopt},
        {{B::mbIgnore, B::mbAll}, B::mbIgnore, std::nullopt},
        {{}, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DefaultButtonOf(c.buttons), c.enter);
        EXPECT_EQ(EscapeButtonOf(c.buttons), c.escape);
    }
}

TEST(MessageDialog, PlacementOfThePositionSettings) {
    // The screen centre whatever the designed position.
    EXPECT_EQ(PlacementOf(TMsgPosition::poScreenCenter, 100, 200),
              (TDialogPlacement{true, std::nullopt, std::nullopt}));
    EXPECT_EQ(PlacementOf(TMsgPosition::poDesigned, 100, 200), (TDialogPlacement{false, 100, 200}));
    // The design default -1, -1: placed as a standard box places itself.
    EXPECT_EQ(PlacementOf(TMsgPosition::poDesigned, -1, -1),
              (TDialogPlacement{false, std::nullopt, std::nullopt}));
    // One coordinate set, the other left to the standard placement; 0 is a real position.
    EXPECT_EQ(PlacementOf(TMsgPosition::poDesigned, 0, -1),
              (TDialogPlacement{false, 0, std::nullopt}));
    EXPECT_EQ(PlacementOf(TMsgPosition::poDesigned, -5, 40),
              (TDialogPlacement{false, std::nullopt, 40}));
}

} // namespace
} // namespace widgets
