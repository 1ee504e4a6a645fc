// Preset message boxes: the kinds, buttons, results, sounds and placement of a standard modal
// message box, as plain values. The message box component fills a request from its settings;
// whoever shows boxes (the Qt boxes, or a scripted stand-in in tests) answers it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace widgets {

// Kind of message: chooses the icon, the title and the sound.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// The standard buttons, in the order a box lists them.
enum class TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
};
inline constexpr int kMsgDlgBtnCount = 11;

// A set of standard buttons.
class TMsgDlgButtons {
public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
        for (TMsgDlgBtn button : buttons) {
            bits_ |= Bit(button);
        }
    }
    constexpr bool Contains(TMsgDlgBtn button) const { return (bits_ & Bit(button)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr void Insert(TMsgDlgBtn button) { bits_ |= Bit(button); }
    constexpr void Remove(TMsgDlgBtn button) { bits_ &= static_cast<std::uint16_t>(~Bit(button)); }
    // The buttons of the set in list order.
    std::vector<TMsgDlgBtn> Buttons() const;
    friend constexpr bool operator==(TMsgDlgButtons, TMsgDlgButtons) = default;

private:
    static constexpr std::uint16_t Bit(TMsgDlgBtn button) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(button));
    }
    std::uint16_t bits_ = 0;
};

// The button that closed a box: mrNone before any box was shown; a box closed without a
// button (its close box with no Cancel, No or OK to stand for) gives mrCancel.
enum class TModalResult {
    mrNone,
    mrOk,
    mrCancel,
    mrAbort,
    mrRetry,
    mrIgnore,
    mrYes,
    mrNo,
    mrAll,
    mrNoToAll,
    mrYesToAll,
};

// Where a preset box goes: at its designed screen position, or at the screen centre.
enum class TMsgPosition { poDesigned, poScreenCenter };

// The system sounds a box can play.
enum class TMessageSound {
    DefaultBeep, // the default beep
    Exclamation, // warning
    Hand,        // error (stop)
    Asterisk,    // information
    Question,    // confirmation
};

// The sound of a kind: warning the exclamation, error the hand, information the asterisk,
// confirmation the question, custom the default beep.
TMessageSound SoundOf(TMsgDlgType type);

// The result a button gives when it closes a box; mbHelp closes nothing and gives mrNone.
TModalResult ResultOf(TMsgDlgBtn button);

// Title of a box of the kind, Shift-JIS: "警告", "エラー", "情報", "確認"; empty for custom
// (the box then carries the program's title).
std::string TitleOf(TMsgDlgType type);

// Caption of a standard button, Shift-JIS ("はい(&Y)", "いいえ(&N)", "OK", "キャンセル" ...).
std::string ButtonCaption(TMsgDlgBtn button);

// The buttons a box really shows: the set itself, or OK alone when the set is empty (a box
// without buttons could not be closed).
TMsgDlgButtons ShownButtons(TMsgDlgButtons buttons);

// The button Enter presses: OK, else Yes, else Retry, else the first of the set.
std::optional<TMsgDlgBtn> DefaultButtonOf(TMsgDlgButtons buttons);

// The button Escape and the close box press: Cancel, else No, else OK; none when the set has
// none of them.
std::optional<TMsgDlgBtn> EscapeButtonOf(TMsgDlgButtons buttons);

// Screen position of a box. Neither coordinate nor the centre: the box goes where a standard
// box goes by itself (centred over its window, or on the screen without one).
struct TDialogPlacement {
    bool screenCentre = false; // centred on the screen
    std::optional<int> left;   // screen x of the box's left edge
    std::optional<int> top;    // screen y of the box's top edge
    friend bool operator==(const TDialogPlacement&, const TDialogPlacement&) = default;
};

// The placement for a position setting: the screen centre for poScreenCenter; for poDesigned
// the designed left and top, each only when it is not negative (-1 means "not set").
TDialogPlacement PlacementOf(TMsgPosition position, int left, int top);

// Everything needed to show one preset box.
struct TMessageDialogRequest {
    TMsgDlgType type = TMsgDlgType::mtInformation;
    std::string text;                         // the message, Shift-JIS
    TMsgDlgButtons buttons{TMsgDlgBtn::mbOK}; // buttons asked for
    int helpContext = 0;                      // help topic; 0 for none
    TDialogPlacement placement{true, {}, {}}; // where the box goes
    friend bool operator==(const TMessageDialogRequest&, const TMessageDialogRequest&) = default;
};

} // namespace widgets
