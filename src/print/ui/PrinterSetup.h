// The program's current printer and the printer setup dialog that changes it.
//
// Like the system's notion of "the printer" of an application, one printer object serves the
// whole run: the setup dialog changes it, the newspaper print and the print preview print on
// it.
#pragma once

#include <QPrinter>
#include <QWidget>

namespace print::ui {

// The program's printer, made on first use in high resolution (the system's default printer,
// or PDF output where the system has none).
QPrinter& ProgramPrinter();

// The system's printer setup dialog over parent: the choice of printer, its paper and
// orientation and its own properties, without page ranges or copies. True when the user
// confirmed; the printer then holds the choices.
bool ShowPrinterSetup(QPrinter& printer, QWidget* parent);

} // namespace print::ui
