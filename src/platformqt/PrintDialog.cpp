#include "platformqt/PrintDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

namespace {

// The folder of the last PDF file printed in this run; the home folder before.
QString& pdfFolder()
{
    static QString folder;
    return folder;
}

QString fileNameOf(const QString& docName)
{
    QString name = docName.isEmpty() ? QStringLiteral("print") : docName;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return name + QStringLiteral(".pdf");
}

} // namespace

bool hasPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

void copyPrinterSettings(const QPrinter& from, QPrinter& to)
{
    if (from.outputFormat() == QPrinter::NativeFormat && !from.printerName().isEmpty())
        to.setPrinterName(from.printerName());
    to.setPageLayout(from.pageLayout());
    to.setColorMode(from.colorMode());
    to.setCopyCount(from.copyCount());
    to.setCollateCopies(from.collateCopies());
    to.setDuplex(from.duplex());
    to.setPageOrder(from.pageOrder());
    to.setFullPage(from.fullPage());
}

void setPrintDialogOptions(QPrintDialog& dialog, bool printerInstalled)
{
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // Without a printer, a file is the only place a printout can go.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, !printerInstalled);
    // A dialog to answer, not a window to keep: no minimise or maximise button.
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint);
}

bool runPrintDialog(QPrinter& defaults, QPrinter& job, const QString& docName, QWidget* owner)
{
    job.setResolution(defaults.resolution());
    copyPrinterSettings(defaults, job);
    job.setDocName(docName);
    const bool printerInstalled = hasPrinter();
    if (!printerInstalled) {
        const QString folder = pdfFolder().isEmpty() ? QDir::homePath() : pdfFolder();
        job.setOutputFileName(QDir(folder).filePath(fileNameOf(docName)));
    }
    QPrintDialog dialog(&job, owner);
    setPrintDialogOptions(dialog, printerInstalled);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    copyPrinterSettings(job, defaults);
    if (job.outputFormat() == QPrinter::PdfFormat && !job.outputFileName().isEmpty()) {
        const QFileInfo file(job.outputFileName());
        if (file.absoluteDir().exists())
            pdfFolder() = file.absolutePath();
    }
    return true;
}

} // namespace platform
