#pragma once
// The print dialog of every printout. Each job prints on a printer of its
// own, set up from the program's printer settings: a job that fails leaves
// those settings as they were, so the next job starts clean. The settings
// the user chose in the dialog (printer, page, orientation, colour, copies)
// become the program's settings again. On a station without a printer the
// dialog offers printing to a PDF file, named after the document.
#include <QString>

class QPrintDialog;
class QPrinter;
class QWidget;

namespace platform {

// Whether this station has a printer installed.
bool hasPrinter();

// Copies the settings a job keeps between jobs (not the output file).
void copyPrinterSettings(const QPrinter& from, QPrinter& to);

// Shows the print dialog for the document `docName` on `job`, a printer
// not yet used, after setting it up from `defaults`. False when the user
// cancelled; then nothing changed. Page ranges, selection and current page
// are not offered; printing to a file only where there is no printer.
bool runPrintDialog(QPrinter& defaults, QPrinter& job, const QString& docName, QWidget* owner);

// Sets the dialog's options as runPrintDialog does (separate for tests).
void setPrintDialogOptions(QPrintDialog& dialog, bool printerInstalled);

} // namespace platform
