#include "platformqt/PrintJob.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace platform {

namespace {

QString pdfFileOf(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
}

void removeFile(const QString& path)
{
    if (!path.isEmpty())
        QFile::remove(path);
}

} // namespace

bool pdfFileIsWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    // The trailer: "startxref", the table's offset, "%%EOF".
    const qint64 tailLength = std::min<qint64>(size, 64);
    if (tailLength <= 0 || !file.seek(size - tailLength))
        return false;
    const QByteArray tail = file.read(tailLength).trimmed();
    if (!tail.endsWith("%%EOF"))
        return false;
    const qsizetype at = tail.lastIndexOf("startxref");
    if (at < 0)
        return false;
    bool number = false;
    const qint64 table = tail.mid(at + 9, tail.size() - 5 - at - 9).trimmed().toLongLong(&number);
    if (!number || table < 0 || table >= size || !file.seek(table))
        return false;
    return file.read(4) == "xref";
}

bool endPrintJob(QPainter& painter, QPrinter& printer, QString& why)
{
    const bool ended = painter.end();
    const QString pdf = pdfFileOf(printer);
    if (!ended || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        why = QStringLiteral("the printer did not take the job");
    else if (!pdf.isEmpty() && !pdfFileIsWhole(pdf))
        why = QStringLiteral("the file '%1' could not be written to its end").arg(pdf);
    else
        return true;
    removeFile(pdf);
    return false;
}

void abandonPrintJob(QPainter& painter, QPrinter& printer)
{
    if (painter.isActive())
        painter.end();
    removeFile(pdfFileOf(printer));
}

} // namespace platform
