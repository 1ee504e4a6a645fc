#include "support/ScriptedInteraction.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace keiba::test {

std::vector<std::string> ScriptedInteraction::Texts() const {
    std::vector<std::string> texts;
    for (const auto& event : events_) {
        switch (event.kind) {
        case TInteractionEvent::Kind::Information:
        case TInteractionEvent::Kind::Message:
        case TInteractionEvent::Kind::Confirm:
        case TInteractionEvent::Kind::Error:
            texts.push_back(event.text);
            break;
        case TInteractionEvent::Kind::Dialog:
            texts.push_back(event.request.text);
            break;
        case TInteractionEvent::Kind::Beep:
        case TInteractionEvent::Kind::Sound:
            break;
        }
    }
    return texts;
}

int ScriptedInteraction::BeepCount() const {
    int count = 0;
    for (const auto& event : events_) {
        count += event.kind == TInteractionEvent::Kind::Beep ? 1 : 0;
    }
    return count;
}

void ScriptedInteraction::Beep() {
    events_.push_back({.kind = TInteractionEvent::Kind::Beep});
}

void ScriptedInteraction::PlaySound(widgets::TMessageSound sound) {
    events_.push_back({.kind = TInteractionEvent::Kind::Sound, .sound = sound});
}

void ScriptedInteraction::Information(std::string_view sjisText) {
    events_.push_back(
        {.kind = TInteractionEvent::Kind::Information, .text = std::string(sjisText)});
}

void ScriptedInteraction::ShowMessage(std::string_view sjisText) {
    events_.push_back({.kind = TInteractionEvent::Kind::Message, .text = std::string(sjisText)});
}

bool ScriptedInteraction::Confirm(std::string_view sjisText) {
    bool yes = false;
    if (confirmAnswers_.empty()) {
        ADD_FAILURE() << "confirmation without a scripted answer: " << Show(sjisText);
    } else {
        yes = confirmAnswers_.front();
        confirmAnswers_.pop_front();
    }
    events_.push_back({.kind = TInteractionEvent::Kind::Confirm,
                       .text = std::string(sjisText),
                       .confirmed = yes});
    return yes;
}

void ScriptedInteraction::ErrorBox(std::string_view sjisText) {
    events_.push_back({.kind = TInteractionEvent::Kind::Error, .text = std::string(sjisText)});
}

widgets::TModalResult
ScriptedInteraction::MessageDialog(const widgets::TMessageDialogRequest& request) {
    widgets::TModalResult result = widgets::TModalResult::mrCancel;
    const auto shown = widgets::ShownButtons(request.buttons).Buttons();
    if (!dialogAnswers_.empty()) {
        result = dialogAnswers_.front();
        dialogAnswers_.pop_front();
    } else if (shown.size() == 1) {
        result = widgets::ResultOf(shown.front());
    } else {
        ADD_FAILURE() << "message box without a scripted answer: " << Show(request.text);
    }
    events_.push_back(
        {.kind = TInteractionEvent::Kind::Dialog, .request = request, .result = result});
    return result;
}

void ScriptedInteraction::ProcessEvents() {
    ++processEventsCount_;
    if (onProcessEvents_) {
        onProcessEvents_();
    }
}

} // namespace keiba::test
