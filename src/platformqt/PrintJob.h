#pragma once
// One print job from its start to its end. Painting on a PDF file does not
// tell when the file could not be written (a full disk, a write error): the
// file is read back to see that it reached its end, and a file that did not
// is removed, so no broken printout is left behind. Only a regular file this
// job wrote is ever removed: a target such as /dev/null, a FIFO or a device
// node stays whatever happens, and is not read back.
#include <QString>

#include <sys/types.h>

class QPainter;
class QPrinter;

namespace platform {

// Why a job failed: what the user is told, the file, and the system's words.
struct PrintFailure {
    enum class Reason {
        None,
        PrinterRefused,    // a printer (not a file) did not take the job
        FolderMissing,     // the file's folder does not exist
        FolderNotWritable, // a new file cannot be made in the folder
        FileNotWritable,   // the file is there and cannot be written
        DiskFull,
        FileCut,           // the file did not reach its end
        NoReader,          // a FIFO that nothing reads
        OpenFailed,        // the file could not be opened for another reason
    };
    Reason reason = Reason::None;
    QString file;   // the PDF file; empty for a printer
    QString detail; // the system's message, when it gave one
    // One line for the error log: reason, file and the system's message.
    QString logText() const;
};

class PrintJob {
public:
    explicit PrintJob(QPrinter& printer);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // Starts painting on the printer; false, with `failure()` said, when its
    // target cannot be opened (nothing is left at the target then). A FIFO
    // that nothing reads is refused at once rather than waited on, and one
    // whose reader leaves early cuts the printout short, not the program.
    bool begin(QPainter& painter);
    // Ends the painting and checks that the printout reached its target
    // whole. False, with `failure()` said, when it did not; the PDF file this
    // job wrote is removed then.
    bool end(QPainter& painter);
    // Ends a job given up before its end; the PDF file it wrote is removed.
    void abandon(QPainter& painter);

    const PrintFailure& failure() const { return failed; }

private:
    void removeWrittenFile() const;
    void restorePipeSignal();

    QPrinter& printer;
    QString pdf; // the PDF file of the job; empty for a printer
    // The regular file the job opened, by its identity, so that whatever
    // took its place since is never removed.
    bool wroteFile = false;
    dev_t device = 0;
    ino_t inode = 0;
    PrintFailure failed;
    bool pipeSignalIgnored = false;
    void (*pipeSignal)(int) = nullptr;
};

// Whether the PDF file at `path` was written to its end: its trailer names
// where its cross-reference table starts, and the table is there.
bool pdfFileIsWhole(const QString& path);

} // namespace platform
