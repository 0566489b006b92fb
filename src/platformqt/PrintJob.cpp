#include "platformqt/PrintJob.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

namespace {

using Reason = PrintFailure::Reason;

QString pdfFileOf(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
}

QString systemMessage(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Why the file cannot be opened for writing, found by trying it the way the
// job did. A file the try makes is the try's own and goes again at once.
Reason whyNotOpened(const QString& path, QString& detail)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    const bool exists = ::stat(name.constData(), &st) == 0;
    const int fd = exists ? ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)
                          : ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0666);
    const int error = errno;
    if (fd >= 0) {
        ::close(fd);
        if (!exists)
            ::unlink(name.constData());
        return Reason::OpenFailed;
    }
    detail = systemMessage(error);
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return Reason::FolderMissing;
    case EACCES:
    case EPERM:
    case EROFS:
        return exists ? Reason::FileNotWritable : Reason::FolderNotWritable;
    case ENOSPC:
    case EDQUOT:
        return Reason::DiskFull;
    case ENXIO:
        return exists && S_ISFIFO(st.st_mode) ? Reason::NoReader : Reason::OpenFailed;
    default:
        return Reason::OpenFailed;
    }
}

// Whether the file system of `path` is as good as full: a write that failed
// there used up the room it had. Root may write into the blocks kept back
// for it, so its own free blocks count.
bool diskFullAt(const QString& path)
{
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &fs) != 0)
        return false;
    const unsigned long long blocks = ::geteuid() == 0 ? fs.f_bfree : fs.f_bavail;
    constexpr unsigned long long nearlyNothing = 1 << 20;
    return blocks * fs.f_frsize < nearlyNothing || fs.f_favail == 0;
}

bool statOf(const QString& path, struct stat& st, bool followLink)
{
    const QByteArray name = QFile::encodeName(path);
    return (followLink ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st)) == 0;
}

const char* reasonText(Reason reason)
{
    switch (reason) {
    case Reason::None: return "no failure";
    case Reason::PrinterRefused: return "the printer did not take the job";
    case Reason::FolderMissing: return "the folder does not exist";
    case Reason::FolderNotWritable: return "the folder cannot be written";
    case Reason::FileNotWritable: return "the file cannot be written";
    case Reason::DiskFull: return "the disk is full";
    case Reason::FileCut: return "the file could not be written to its end";
    case Reason::NoReader: return "nothing reads from the file";
    case Reason::OpenFailed: return "the file could not be opened";
    }
    return "";
}

} // namespace

QString PrintFailure::logText() const
{
    QString text = QString::fromLatin1(reasonText(reason));
    if (!file.isEmpty())
        text += QStringLiteral(": '%1'").arg(file);
    if (!detail.isEmpty())
        text += QStringLiteral(" (%1)").arg(detail);
    return text;
}

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

PrintJob::PrintJob(QPrinter& printer)
    : printer(printer)
    , pdf(pdfFileOf(printer))
{
}

PrintJob::~PrintJob() { restorePipeSignal(); }

void PrintJob::restorePipeSignal()
{
    if (pipeSignalIgnored)
        ::signal(SIGPIPE, pipeSignal);
    pipeSignalIgnored = false;
}

bool PrintJob::begin(QPainter& painter)
{
    failed = PrintFailure();
    failed.file = pdf;
    struct stat st {};
    if (!pdf.isEmpty() && statOf(pdf, st, true) && S_ISFIFO(st.st_mode)) {
        // Opening a FIFO to write waits for a reader: without one the
        // program would hang here.
        const int fd = ::open(QFile::encodeName(pdf).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            const int error = errno;
            failed.reason = error == ENXIO ? Reason::NoReader : Reason::OpenFailed;
            failed.detail = systemMessage(error);
            return false;
        }
        ::close(fd);
        // A reader that leaves before the end must not end this program.
        pipeSignal = ::signal(SIGPIPE, SIG_IGN);
        pipeSignalIgnored = true;
    }
    if (!painter.begin(&printer)) {
        restorePipeSignal();
        failed.reason = pdf.isEmpty() ? Reason::PrinterRefused : whyNotOpened(pdf, failed.detail);
        return false;
    }
    // The job has opened its file: a regular file there is the one it writes.
    if (!pdf.isEmpty() && statOf(pdf, st, false) && S_ISREG(st.st_mode)) {
        wroteFile = true;
        device = st.st_dev;
        inode = st.st_ino;
    }
    return true;
}

bool PrintJob::end(QPainter& painter)
{
    failed = PrintFailure();
    failed.file = pdf;
    const bool ended = painter.end();
    restorePipeSignal();
    const QPrinter::PrinterState state = printer.printerState();
    struct stat st {};
    if (!ended || state == QPrinter::Error || state == QPrinter::Aborted)
        failed.reason = pdf.isEmpty() ? Reason::PrinterRefused : Reason::FileCut;
    // Only a regular file can be read back; a device or a FIFO took what
    // it was given.
    else if (!pdf.isEmpty() && statOf(pdf, st, true) && S_ISREG(st.st_mode) && !pdfFileIsWhole(pdf))
        failed.reason = diskFullAt(pdf) ? Reason::DiskFull : Reason::FileCut;
    else
        return true;
    removeWrittenFile();
    return false;
}

void PrintJob::abandon(QPainter& painter)
{
    if (painter.isActive())
        painter.end();
    restorePipeSignal();
    removeWrittenFile();
}

void PrintJob::removeWrittenFile() const
{
    struct stat st {};
    if (wroteFile && statOf(pdf, st, false) && S_ISREG(st.st_mode) && st.st_dev == device && st.st_ino == inode)
        ::unlink(QFile::encodeName(pdf).constData());
}

} // namespace platform
