#include "widgets/MessageDialog.h"

#include "jvdata/SjisText.h"

#include <array>
#include <string_view>

namespace widgets {

std::vector<TMsgDlgBtn> TMsgDlgButtons::Buttons() const {
    std::vector<TMsgDlgBtn> buttons;
    for (int i = 0; i < kMsgDlgBtnCount; ++i) {
        const auto button = static_cast<TMsgDlgBtn>(i);
        if (Contains(button)) {
            buttons.push_back(button);
        }
    }
    return buttons;
}

TMessageSound SoundOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return TMessageSound::Exclamation;
    case TMsgDlgType::mtError:
        return TMessageSound::Hand;
    case TMsgDlgType::mtInformation:
        return TMessageSound::Asterisk;
    case TMsgDlgType::mtConfirmation:
        return TMessageSound::Question;
    case TMsgDlgType::mtCustom:
        break;
    }
    return TMessageSound::DefaultBeep;
}

TModalResult ResultOf(TMsgDlgBtn button) {
    switch (button) {
    case TMsgDlgBtn::mbYes:
        return TModalResult::mrYes;
    case TMsgDlgBtn::mbNo:
        return TModalResult::mrNo;
    case TMsgDlgBtn::mbOK:
        return TModalResult::mrOk;
    case TMsgDlgBtn::mbCancel:
        return TModalResult::mrCancel;
    case TMsgDlgBtn::mbAbort:
        return TModalResult::mrAbort;
    case TMsgDlgBtn::mbRetry:
        return TModalResult::mrRetry;
    case TMsgDlgBtn::mbIgnore:
        return TModalResult::mrIgnore;
    case TMsgDlgBtn::mbAll:
        return TModalResult::mrAll;
    case TMsgDlgBtn::mbNoToAll:
        return TModalResult::mrNoToAll;
    case TMsgDlgBtn::mbYesToAll:
        return TModalResult::mrYesToAll;
    case TMsgDlgBtn::mbHelp:
        break;
    }
    return TModalResult::mrNone;
}

std::string TitleOf(TMsgDlgType type) {
    static const std::array<std::string, 5> titles = {
        Sjis::FromUtf8("警告"), Sjis::FromUtf8("エラー"), Sjis::FromUtf8("情報"),
        Sjis::FromUtf8("確認"), std::string()};
    return titles[static_cast<std::size_t>(type)];
}

std::string ButtonCaption(TMsgDlgBtn button) {
    static const std::array<std::string, kMsgDlgBtnCount> captions = {
        Sjis::FromUtf8("はい(&Y)"),
        Sjis::FromUtf8("いいえ(&N)"),
        Sjis::FromUtf8("OK"),
        Sjis::FromUtf8("キャンセル"),
        Sjis::FromUtf8("中止(&A)"),
        Sjis::FromUtf8("再試行(&R)"),
        Sjis::FromUtf8("無視(&I)"),
        Sjis::FromUtf8("すべて(&L)"),
        Sjis::FromUtf8("すべていいえ(&O)"),
        Sjis::FromUtf8("すべてはい(&T)"),
        Sjis::FromUtf8("ヘルプ(&H)")};
    return captions[static_cast<std::size_t>(button)];
}

TMsgDlgButtons ShownButtons(TMsgDlgButtons buttons) {
    return buttons.Empty() ? TMsgDlgButtons{TMsgDlgBtn::mbOK} : buttons;
}

std::optional<TMsgDlgBtn> DefaultButtonOf(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn preferred : {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbYes, TMsgDlgBtn::mbRetry}) {
        if (buttons.Contains(preferred)) {
            return preferred;
        }
    }
    const auto all = buttons.Buttons();
    if (all.empty()) {
        return std::nullopt;
    }
    return all.front();
}

std::optional<TMsgDlgBtn> EscapeButtonOf(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn preferred : {TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK}) {
        if (buttons.Contains(preferred)) {
            return preferred;
        }
    }
    return std::nullopt;
}

TDialogPlacement PlacementOf(TMsgPosition position, int left, int top) {
    TDialogPlacement placement;
    if (position == TMsgPosition::poScreenCenter) {
        placement.screenCentre = true;
        return placement;
    }
    if (left >= 0) {
        placement.left = left;
    }
    if (top >= 0) {
        placement.top = top;
    }
    return placement;
}

} // namespace widgets
