// A user who answers from a script: the user interaction of windows under test.
//
// Every box shown and every sound played is recorded in order; confirmations and preset boxes
// take their answers from queues the test fills beforehand. A question with no answer queued
// fails the running test (and is answered No / Cancel), so an unexpected box never passes
// unnoticed. Qt-free: it links with the core alone.
#pragma once

#include "widgets/UserInteraction.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace keiba::test {

// One thing the user saw or heard.
struct TInteractionEvent {
    enum class Kind {
        Beep,        // the default beep
        Sound,       // a message kind's sound (sound)
        Information, // information box (text)
        Message,     // plain message box (text)
        Confirm,     // confirmation (text, confirmed)
        Error,       // the standard error box (text)
        Dialog,      // preset box (request, result)
    };
    Kind kind = Kind::Beep;
    std::string text{}; // Shift-JIS text of a box
    widgets::TMessageSound sound = widgets::TMessageSound::DefaultBeep;
    bool confirmed = false; // the answer to a confirmation
    widgets::TMessageDialogRequest request{};
    widgets::TModalResult result = widgets::TModalResult::mrNone;
};

class ScriptedInteraction : public widgets::IUserInteraction {
public:
    // Queues the answer to the next confirmation (true = Yes).
    void AnswerConfirm(bool yes) { confirmAnswers_.push_back(yes); }
    // Queues the button that closes the next preset box. Without one queued, a box with a
    // single button is closed by that button; any other box fails the test.
    void AnswerDialog(widgets::TModalResult result) { dialogAnswers_.push_back(result); }
    // Runs on every ProcessEvents call: the test's chance to act during a long operation
    // (press Cancel, change a setting).
    void OnProcessEvents(std::function<void()> hook) { onProcessEvents_ = std::move(hook); }

    const std::vector<TInteractionEvent>& Events() const { return events_; }
    // The texts of the boxes shown (information, message, confirmation, error, preset), in
    // order, Shift-JIS.
    std::vector<std::string> Texts() const;
    int BeepCount() const;
    int ProcessEventsCount() const { return processEventsCount_; }
    // Answers queued but not used yet.
    std::size_t PendingAnswers() const { return confirmAnswers_.size() + dialogAnswers_.size(); }
    // Forgets what was recorded (the queues stay).
    void ClearEvents() { events_.clear(); }

    void Beep() override;
    void PlaySound(widgets::TMessageSound sound) override;
    void Information(std::string_view sjisText) override;
    void ShowMessage(std::string_view sjisText) override;
    bool Confirm(std::string_view sjisText) override;
    void ErrorBox(std::string_view sjisText) override;
    widgets::TModalResult MessageDialog(const widgets::TMessageDialogRequest& request) override;
    void ProcessEvents() override;

private:
    std::vector<TInteractionEvent> events_;
    std::deque<bool> confirmAnswers_;
    std::deque<widgets::TModalResult> dialogAnswers_;
    std::function<void()> onProcessEvents_;
    int processEventsCount_ = 0;
};

} // namespace keiba::test
