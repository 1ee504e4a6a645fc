// Keeps the program's windows on the screen: a window restored from bounds kept for another
// screen, or placed by the window system beside its owner, is moved back into the screen's
// free area (and shrunk to it when it is larger) as it is shown.
#pragma once

#include <QWidget>

namespace widgets {

// Moves the window, frame included, into the free area of the screen under its centre (else
// the screen it is on): shrinks it to that area when it is larger, then moves it back in past
// any edge it runs over. A maximised or full-screen window is left to the window system.
void FitWindowOnScreen(QWidget& window);

// From now on every top-level window of the application (windows, dialogs, message boxes,
// tool windows; not menus, drop-down lists and tool tips) is fitted on its screen each time it
// is shown. Called once at start.
void KeepWindowsOnScreen();

} // namespace widgets
