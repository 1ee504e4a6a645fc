// The preset message box component and the Qt message boxes of the program.
#include "support/ScriptedInteraction.h"
#include "support/TestSupport.h"
#include "support/ui/QtPrinters.h"
#include "widgets/ui/KeepOnScreen.h"
#include "widgets/ui/QtUserInteraction.h"
#include "widgets/ui/TMsgDlg.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace widgets {
namespace {

using keiba::test::S;
using keiba::test::ScriptedInteraction;
using keiba::test::TInteractionEvent;
using Kind = TInteractionEvent::Kind;

// Runs answer on the next modal message box as soon as it is on screen.
void WhenBoxShows(std::function<void(QMessageBox&)> answer, int triesLeft = 200) {
    QTimer::singleShot(5, [answer = std::move(answer), triesLeft]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            answer(*box);
        } else if (triesLeft > 0) {
            WhenBoxShows(std::move(answer), triesLeft - 1);
        } else {
            ADD_FAILURE() << "no message box appeared";
        }
    });
}

// The captions of a box's buttons.
std::vector<QString> Captions(const QMessageBox& box) {
    std::vector<QString> captions;
    for (const QAbstractButton* button : box.buttons()) {
        captions.push_back(button->text());
    }
    std::sort(captions.begin(), captions.end());
    return captions;
}

QAbstractButton* ButtonWithText(QMessageBox& box, const char* utf8) {
    for (QAbstractButton* button : box.buttons()) {
        if (button->text() == QString::fromUtf8(utf8)) {
            return button;
        }
    }
    return nullptr;
}

// ---- TMsgDlg with a scripted user ----------------------------------------------------------

TEST(TMsgDlg, DefaultsOfANewComponent) {
    const TMsgDlg dialog;
    EXPECT_FALSE(dialog.Sound());
    EXPECT_EQ(dialog.MsgLeft(), -1);
    EXPECT_EQ(dialog.MsgTop(), -1);
    EXPECT_EQ(dialog.HelpContext(), 0);
    EXPECT_TRUE(dialog.DisplayMsg().empty());
    EXPECT_EQ(dialog.MsgDlgType(), TMsgDlgType::mtInformation);
    EXPECT_EQ(dialog.MsgPosition(), TMsgPosition::poScreenCenter);
    EXPECT_EQ(dialog.VisibleButtons(), (TMsgDlgButtons{TMsgDlgBtn::mbOK}));
    EXPECT_EQ(dialog.DlgResult(), TModalResult::mrNone);
}

TEST(TMsgDlg, WarningWithSoundPlaysTheExclamationThenShows) {
    // The main window's preset box: warning, sound on, the rest at the defaults.
    ScriptedInteraction user;
    TMsgDlg dialog;
    dialog.SetInteraction(&user);
    dialog.SetSound(true);
    dialog.SetMsgDlgType(TMsgDlgType::mtWarning);
    dialog.SetDisplayMsg(S("ﾃﾞｰﾀを読み込んでください。"));
    std::vector<std::pair<TMsgDlg*, TModalResult>> told;
    QObject::connect(&dialog, &TMsgDlg::OnButtonClick, [&](TMsgDlg* sender, TModalResult result) {
        told.push_back({sender, result});
    });

    dialog.Show();

    ASSERT_EQ(user.Events().size(), 2u);
    EXPECT_EQ(user.Events()[0].kind, Kind::Sound);
    EXPECT_EQ(user.Events()[0].sound, TMessageSound::Exclamation);
    ASSERT_EQ(user.Events()[1].kind, Kind::Dialog);
    const TMessageDialogRequest& request = user.Events()[1].request;
    EXPECT_EQ(request.type, TMsgDlgType::mtWarning);
    EXPECT_EQ(request.text, S("ﾃﾞｰﾀを読み込んでください。"));
    EXPECT_EQ(request.buttons, (TMsgDlgButtons{TMsgDlgBtn::mbOK}));
    EXPECT_EQ(request.helpContext, 0);
    EXPECT_TRUE(request.placement.screenCentre);
    EXPECT_EQ(dialog.DlgResult(), TModalResult::mrOk);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].first, &dialog);
    EXPECT_EQ(told[0].second, TModalResult::mrOk);
}

TEST(TMsgDlg, SoundOffStillShows) {
    ScriptedInteraction user;
    TMsgDlg dialog;
    dialog.SetInteraction(&user);
    dialog.SetMsgDlgType(TMsgDlgType::mtError);
    dialog.SetDisplayMsg(S("エラー"));
    dialog.Show();
    ASSERT_EQ(user.Events().size(), 1u);
    EXPECT_EQ(user.Events()[0].kind, Kind::Dialog);
    EXPECT_EQ(user.Texts(), std::vector<std::string>{S("エラー")});
}

TEST(TMsgDlg, DesignedPositionAndButtonsReachTheBox) {
    ScriptedInteraction user;
    user.AnswerDialog(TModalResult::mrNo);
    TMsgDlg dialog;
    dialog.SetInteraction(&user);
    dialog.SetMsgDlgType(TMsgDlgType::mtConfirmation);
    dialog.SetVisibleButtons({TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo});
    dialog.SetMsgPosition(TMsgPosition::poDesigned);
    dialog.SetMsgLeft(120);
    dialog.SetMsgTop(80);
    dialog.SetHelpContext(15);
    dialog.Show();
    ASSERT_EQ(user.Events().size(), 1u);
    const auto& request = user.Events()[0].request;
    EXPECT_EQ(request.placement, (TDialogPlacement{false, 120, 80}));
    EXPECT_EQ(request.buttons, (TMsgDlgButtons{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}));
    EXPECT_EQ(request.helpContext, 15);
    EXPECT_EQ(dialog.DlgResult(), TModalResult::mrNo);
}

TEST(TMsgDlg, DesignedPositionNotSetIsTheStandardPlacement) {
    ScriptedInteraction user;
    TMsgDlg dialog;
    dialog.SetInteraction(&user);
    dialog.SetMsgPosition(TMsgPosition::poDesigned);
    dialog.Show();
    ASSERT_EQ(user.Events().size(), 1u);
    EXPECT_EQ(user.Events()[0].request.placement, TDialogPlacement{});
}

TEST(TMsgDlg, KeepsTheLastResult) {
    ScriptedInteraction user;
    user.AnswerDialog(TModalResult::mrCancel);
    user.AnswerDialog(TModalResult::mrOk);
    TMsgDlg dialog;
    dialog.SetInteraction(&user);
    dialog.SetVisibleButtons({TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel});
    dialog.Show();
    EXPECT_EQ(dialog.DlgResult(), TModalResult::mrCancel);
    dialog.Show();
    EXPECT_EQ(dialog.DlgResult(), TModalResult::mrOk);
    EXPECT_EQ(user.PendingAnswers(), 0u);
}

// ---- The Qt boxes ---------------------------------------------------------------------------

TEST(QtUserInteraction, PresetBoxCarriesKindTextAndButtons) {
    QtUserInteraction ui;
    TMessageDialogRequest request;
    request.type = TMsgDlgType::mtWarning;
    request.text = S("ﾃﾞｰﾀを読み込んでください。\r\n2行目");
    request.buttons = {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel};
    const auto box = ui.MakeMessageBox(request);
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("警告"));
    EXPECT_EQ(box->text(), QString::fromUtf8("ﾃﾞｰﾀを読み込んでください。\n2行目"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(Captions(*box),
              (std::vector<QString>{QString::fromUtf8("いいえ(&N)"), QString::fromUtf8("はい(&Y)"),
                                    QString::fromUtf8("キャンセル")}));
    EXPECT_EQ(box->defaultButton()->text(), QString::fromUtf8("はい(&Y)"));
    EXPECT_EQ(box->escapeButton()->text(), QString::fromUtf8("キャンセル"));

    // A custom box has no icon and carries the program's title.
    ui.SetTitle(QString::fromUtf8("Tomberly＆競馬新聞 "));
    request.type = TMsgDlgType::mtCustom;
    const auto custom = ui.MakeMessageBox(request);
    EXPECT_EQ(custom->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(custom->windowTitle(), QString::fromUtf8("Tomberly＆競馬新聞 "));
}

TEST(QtUserInteraction, PresetBoxRunsAndReportsTheButton) {
    QtUserInteraction ui;
    TMessageDialogRequest request;
    request.type = TMsgDlgType::mtConfirmation;
    request.text = S("実行しますか？");
    request.buttons = {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo};
    WhenBoxShows([](QMessageBox& box) { ButtonWithText(box, "いいえ(&N)")->click(); });
    EXPECT_EQ(ui.MessageDialog(request), TModalResult::mrNo);
    WhenBoxShows([](QMessageBox& box) { box.close(); });
    EXPECT_EQ(ui.MessageDialog(request), TModalResult::mrNo); // Escape and the close box say No
}

TEST(QtUserInteraction, DesignedPositionPlacesTheBox) {
    QtUserInteraction ui;
    TMessageDialogRequest request;
    request.placement = PlacementOf(TMsgPosition::poDesigned, 30, 40);
    QPoint shownAt;
    WhenBoxShows([&](QMessageBox& box) {
        shownAt = box.frameGeometry().topLeft();
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ui.MessageDialog(request), TModalResult::mrOk);
    EXPECT_EQ(shownAt, QPoint(30, 40));
}

TEST(QtUserInteraction, ScreenCentrePlacesTheBoxInTheMiddle) {
    // Even with a window elsewhere on the screen to sit over.
    QWidget window;
    window.setGeometry(0, 0, 200, 150);
    window.show();
    QtUserInteraction ui(&window);
    TMessageDialogRequest request;
    request.text = S("データ作成が完了しました。");
    QRect shown;
    WhenBoxShows([&](QMessageBox& box) {
        shown = box.frameGeometry();
        box.button(QMessageBox::Ok)->click();
    });
    ui.MessageDialog(request);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(shown.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(shown.center().y() - screen.center().y()), 1);
}

TEST(KeepOnScreen, WindowsAndBoxesShownPartlyOffTheScreenAreMovedOn) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    KeepWindowsOnScreen();
    // A window restored from bounds kept for a larger screen keeps its size.
    QWidget window;
    window.setGeometry(area.right() - 100, area.bottom() - 50, 300, 200);
    window.show();
    EXPECT_TRUE(area.contains(window.frameGeometry()));
    EXPECT_EQ(window.size(), QSize(300, 200));
}

TEST(QtUserInteraction, HelpShowsTheTopicAndAsksAgain) {
    QtUserInteraction ui;
    std::vector<int> topics;
    ui.SetHelpHandler([&](int topic) { topics.push_back(topic); });
    TMessageDialogRequest request;
    request.buttons = {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbHelp};
    request.helpContext = 42;
    WhenBoxShows([](QMessageBox& box) {
        ButtonWithText(box, "ヘルプ(&H)")->click();
        WhenBoxShows([](QMessageBox& again) { again.button(QMessageBox::Ok)->click(); });
    });
    EXPECT_EQ(ui.MessageDialog(request), TModalResult::mrOk);
    EXPECT_EQ(topics, std::vector<int>{42});
}

TEST(QtUserInteraction, WindowClosedUnderAnOpenBoxAnswersNothing) {
    // The box belongs to its window; when code destroys the window the box goes with it.
    auto* window = new QWidget;
    window->show();
    QtUserInteraction ui(window);
    WhenBoxShows([&](QMessageBox&) { delete window; });
    EXPECT_FALSE(ui.Confirm(S("実行しますか？")));

    window = new QWidget;
    window->show();
    ui.SetParent(window);
    WhenBoxShows([&](QMessageBox&) { delete window; });
    TMessageDialogRequest request;
    EXPECT_EQ(ui.MessageDialog(request), TModalResult::mrCancel);
}

TEST(QtUserInteraction, TMsgDlgShowsAQtBoxByDefault) {
    TMsgDlg dialog;
    dialog.SetMsgDlgType(TMsgDlgType::mtError);
    dialog.SetDisplayMsg(S("プリンタが登録されていません"));
    dialog.SetVisibleButtons({TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry, TMsgDlgBtn::mbIgnore});
    QString text;
    WhenBoxShows([&](QMessageBox& box) {
        text = box.text();
        ButtonWithText(box, "再試行(&R)")->click();
    });
    dialog.Show();
    EXPECT_EQ(text, QString::fromUtf8("プリンタが登録されていません"));
    EXPECT_EQ(dialog.DlgResult(), TModalResult::mrRetry);
}

TEST(QtUserInteraction, InformationConfirmAndErrorBoxes) {
    QtUserInteraction ui;
    ui.SetTitle(QStringLiteral("Tomberly"));

    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    std::vector<QString> captions;
    const auto look = [&](QMessageBox& box) {
        icon = box.icon();
        title = box.windowTitle();
        text = box.text();
        captions = Captions(box);
    };

    WhenBoxShows([&](QMessageBox& box) {
        look(box);
        box.buttons().front()->click();
    });
    ui.Information(S("最新のデータがありません。"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(title, QStringLiteral("Tomberly"));
    EXPECT_EQ(text, QString::fromUtf8("最新のデータがありません。"));
    EXPECT_EQ(captions, std::vector<QString>{QStringLiteral("OK")});

    WhenBoxShows([&](QMessageBox& box) {
        look(box);
        ButtonWithText(box, "はい(&Y)")->click();
    });
    EXPECT_TRUE(ui.Confirm(S("データ取込を中止します。実行しますか？")));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(captions, (std::vector<QString>{QString::fromUtf8("いいえ(&N)"),
                                              QString::fromUtf8("はい(&Y)")}));
    WhenBoxShows([&](QMessageBox& box) { ButtonWithText(box, "いいえ(&N)")->click(); });
    EXPECT_FALSE(ui.Confirm(S("実行しますか？")));
    WhenBoxShows([&](QMessageBox& box) { box.close(); });
    EXPECT_FALSE(ui.Confirm(S("実行しますか？")));

    WhenBoxShows([&](QMessageBox& box) {
        look(box);
        box.buttons().front()->click();
    });
    ui.ErrorBox(S("プリンタが登録されていません"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(text, QString::fromUtf8("プリンタが登録されていません"));

    WhenBoxShows([&](QMessageBox& box) {
        look(box);
        box.buttons().front()->click();
    });
    ui.ShowMessage(S("JVInitエラー："));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(text, QString::fromUtf8("JVInitエラー："));
}

} // namespace
} // namespace widgets
