// The small pictures of the main window's glyph buttons and the program's icon, drawn here so
// that the program needs no image files beside it.
#pragma once

#include <QIcon>

namespace shell::ui {

// A printer with a sheet of paper (printer setup).
QIcon PrinterSetupGlyph();
// An open door with an arrow leaving it (exit).
QIcon ExitGlyph();
// A closed book with a question mark (help contents).
QIcon HelpContentsGlyph();
// A blue disc with a white "i" (version information).
QIcon AboutGlyph();
// The program's icon: the character 競 on a green board with a white rule, as a racing paper.
QIcon ProgramIcon();

} // namespace shell::ui
