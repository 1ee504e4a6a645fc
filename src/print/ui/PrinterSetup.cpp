#include "print/ui/PrinterSetup.h"

#include "print/ui/PagePrinting.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>

namespace print::ui {

QPrinter& ProgramPrinter() {
    static QPrinter& printer = []() -> QPrinter& {
        static QPrinter made(QPrinter::HighResolution);
        // Without a system printer the program prints to PDF: on the same page as the command
        // line's PDF.
        if (made.outputFormat() == QPrinter::PdfFormat) {
            print::ui::UsePdfPageLayout(made);
        }
        return made;
    }();
    return printer;
}

bool ShowPrinterSetup(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
    // Setting up prints nothing: no page range, selection or copies to choose.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // Where Qt draws the dialog itself, its accept button would read "Print"; here it only
    // confirms the choices.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
                button->setText(QStringLiteral("OK"));
            }
        }
    }
    return dialog.exec() == QDialog::Accepted;
}

} // namespace print::ui
