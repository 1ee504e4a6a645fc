// The scripted user that windows under test talk to.
#include "support/ScriptedInteraction.h"
#include "support/TestSupport.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace widgets {
namespace {

using keiba::test::S;
using keiba::test::ScriptedInteraction;
using Kind = keiba::test::TInteractionEvent::Kind;

TEST(ScriptedInteraction, RecordsInOrderAndAnswersFromTheQueue) {
    ScriptedInteraction user;
    user.AnswerConfirm(true);
    user.AnswerConfirm(false);
    int hooks = 0;
    user.OnProcessEvents([&] { ++hooks; });

    widgets::IUserInteraction& ui = user;
    widgets::BeepAndInform(ui, S("JVOpenエラー:"));
    EXPECT_TRUE(ui.Confirm(S("一つ目")));
    EXPECT_FALSE(ui.Confirm(S("二つ目")));
    ui.ProcessEvents();
    ui.ProcessEvents();

    ASSERT_EQ(user.Events().size(), 4u);
    EXPECT_EQ(user.Events()[0].kind, Kind::Beep);
    EXPECT_EQ(user.Events()[1].kind, Kind::Information);
    EXPECT_EQ(user.Events()[2].confirmed, true);
    EXPECT_EQ(user.Events()[3].confirmed, false);
    EXPECT_EQ(user.Texts(),
              (std::vector<std::string>{S("JVOpenエラー:"), S("一つ目"), S("二つ目")}));
    EXPECT_EQ(user.BeepCount(), 1);
    EXPECT_EQ(user.ProcessEventsCount(), 2);
    EXPECT_EQ(hooks, 2);
    EXPECT_EQ(user.PendingAnswers(), 0u);
}

TEST(ScriptedInteraction, PresetBoxesTakeQueuedAnswersOrTheirOnlyButton) {
    ScriptedInteraction user;
    user.AnswerDialog(TModalResult::mrRetry);
    TMessageDialogRequest request;
    request.buttons = {TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry};
    EXPECT_EQ(user.MessageDialog(request), TModalResult::mrRetry);
    request.buttons = {TMsgDlgBtn::mbCancel};
    EXPECT_EQ(user.MessageDialog(request), TModalResult::mrCancel);
    request.buttons = {};
    EXPECT_EQ(user.MessageDialog(request), TModalResult::mrOk);
    ASSERT_EQ(user.Events().size(), 3u);
    EXPECT_EQ(user.Events()[0].result, TModalResult::mrRetry);
    EXPECT_EQ(user.Events()[2].request.buttons, TMsgDlgButtons{});
}

void AskWithoutAnswers() {
    ScriptedInteraction user;
    EXPECT_FALSE(user.Confirm(S("実行しますか？")));
}

void BoxWithoutAnswers() {
    ScriptedInteraction user;
    TMessageDialogRequest request;
    request.buttons = {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo};
    EXPECT_EQ(user.MessageDialog(request), TModalResult::mrCancel);
}

TEST(ScriptedInteraction, UnscriptedQuestionsFailTheTest) {
    EXPECT_NONFATAL_FAILURE(AskWithoutAnswers(), "confirmation without a scripted answer");
    EXPECT_NONFATAL_FAILURE(BoxWithoutAnswers(), "message box without a scripted answer");
}

} // namespace
} // namespace widgets
