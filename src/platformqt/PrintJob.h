#pragma once
// The end of a print job. Painting on a PDF file does not tell when the file
// could not be written (a full disk, a write error): the file is read back
// to see that it reached its end, and a file that did not is removed, so no
// broken printout is left behind.
#include <QString>

class QPainter;
class QPrinter;

namespace platform {

// Ends the painting of the job and checks that the printout reached its
// target whole. False, with the reason in `why`, when it did not; a PDF file
// of such a job is removed.
bool endPrintJob(QPainter& painter, QPrinter& printer, QString& why);

// Ends a job given up before its end; its PDF file is removed.
void abandonPrintJob(QPainter& painter, QPrinter& printer);

// Whether the PDF file at `path` was written to its end: its trailer names
// where its cross-reference table starts, and the table is there.
bool pdfFileIsWhole(const QString& path);

} // namespace platform
