// What a window asks of the user while it works: message boxes, confirmations, sounds, and
// letting pending window messages run during a long operation.
//
// Windows talk to the user only through this interface. The program installs the Qt boxes;
// tests install a scripted one that records every message and answers from a script, so that
// the same window code runs without a display. Texts are Shift-JIS bytes; the implementation
// converts them where a box receives them.
#pragma once

#include "widgets/MessageDialog.h"

#include <string_view>

namespace widgets {

class IUserInteraction {
public:
    virtual ~IUserInteraction() = default;

    // The system's default beep.
    virtual void Beep() = 0;
    // The system sound of a message kind (a preset box with its sound on).
    virtual void PlaySound(widgets::TMessageSound sound) = 0;
    // A modal information box with an OK button, under the program's title.
    virtual void Information(std::string_view sjisText) = 0;
    // A plain modal message box (no icon) with an OK button, under the program's title.
    virtual void ShowMessage(std::string_view sjisText) = 0;
    // A modal confirmation box with Yes and No: true for Yes; closing the box is No.
    virtual bool Confirm(std::string_view sjisText) = 0;
    // The program's standard error box for an unexpected failure (an input/output error, no
    // printer): error icon and OK. The command in progress ends; the program goes on.
    virtual void ErrorBox(std::string_view sjisText) = 0;
    // A preset modal box: kind, buttons, help topic and placement as asked; the button that
    // closed it.
    virtual widgets::TModalResult MessageDialog(const widgets::TMessageDialogRequest& request) = 0;
    // Lets pending window messages run (painting, a click on Cancel) during a long operation.
    virtual void ProcessEvents() = 0;
    // Lets pending painting run during an operation that has no Cancel, holding the user's keys
    // and clicks back until it ends: they then act on what it left (a second day chosen in the
    // date list while the first loads is loaded after it, not inside it).
    virtual void PaintPending() { ProcessEvents(); }
};

// How the program reports a failure it expects: the default beep, then a modal information
// box with OK.
inline void BeepAndInform(IUserInteraction& ui, std::string_view sjisText) {
    ui.Beep();
    ui.Information(sjisText);
}

} // namespace widgets
