// The print dialog of every printout on a station without a printer: it
// offers a PDF file named after the document, and a job that failed leaves
// the next one unharmed. Screenshots of the dialog go into the build folder.
// Then the end of a job: the check of a PDF file, and the targets a job
// must leave alone.
#include "platformqt/PrintDialog.h"
#include "platformqt/PrintJob.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs `act` on the dialog once it is up.
void whenShown(std::function<void(QPrintDialog*)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

QStringList printerChoices(QPrintDialog* dialog)
{
    QStringList items;
    if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers")))
        for (int i = 0; i < printers->count(); ++i)
            items << printers->itemText(i);
    return items;
}

QLineEdit* fileNameEdit(QPrintDialog* dialog) { return dialog->findChild<QLineEdit*>(QStringLiteral("filename")); }

QString artefact(const char* name) { return QStringLiteral(SCREENSHOT_DIR "/") + QString::fromLatin1(name); }

// Prints one line onto the job; whether the page could be made.
bool printLine(QPrinter& job)
{
    QPainter painter;
    if (!painter.begin(&job))
        return false;
    painter.drawText(100, 100, QStringLiteral("Tavo"));
    return painter.end();
}

class PrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (platform::hasPrinter())
            GTEST_SKIP() << "this station has a printer";
    }
};

TEST_F(PrintDialogTest, WithoutPrinterOffersAPdfFileNamedAfterTheDocument)
{
    QPrinter defaults;
    defaults.setPageOrientation(QPageLayout::Landscape);
    const QString path = artefact("print-dialog-schedule.pdf");
    QFile::remove(path);
    QStringList choices;
    QString proposed;
    Qt::WindowFlags flags;
    whenShown([&](QPrintDialog* dialog) {
        flags = dialog->windowFlags();
        choices = printerChoices(dialog);
        proposed = fileNameEdit(dialog)->text();
        dialog->grab().save(artefact("print-dialog-no-printer.png"));
        fileNameEdit(dialog)->setText(path);
        dialog->accept();
    });
    QPrinter job;
    ASSERT_TRUE(platform::runPrintDialog(defaults, job, QStringLiteral("Tavo CPR Course Schedule"), nullptr));
    EXPECT_TRUE(choices.contains(QStringLiteral("Print to File (PDF)"))) << choices.join(',').toStdString();
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(proposed.endsWith(QStringLiteral("/Tavo CPR Course Schedule.pdf"))) << proposed.toStdString();
    EXPECT_EQ(job.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(job.outputFileName(), path);
    EXPECT_EQ(job.pageLayout().orientation(), QPageLayout::Landscape) << "the program's settings apply";
    EXPECT_TRUE(printLine(job));
    EXPECT_TRUE(QFile::exists(path));

    // A cancelled dialog prints nothing.
    whenShown([](QPrintDialog* dialog) { dialog->reject(); });
    QPrinter cancelled;
    EXPECT_FALSE(platform::runPrintDialog(defaults, cancelled, QStringLiteral("Tavo CPR Evaluation Data"), nullptr));
}

TEST_F(PrintDialogTest, AFailedJobLeavesTheNextOneUnharmed)
{
    QPrinter defaults;
    whenShown([](QPrintDialog* dialog) {
        fileNameEdit(dialog)->setText(QStringLiteral("/nonexistent-folder/sub/out.pdf"));
        dialog->accept();
    });
    {
        QPrinter job;
        ASSERT_TRUE(platform::runPrintDialog(defaults, job, QStringLiteral("Tavo CPR Course Schedule"), nullptr));
        EXPECT_FALSE(printLine(job)) << "the file cannot be made";
    }
    EXPECT_EQ(defaults.printerState(), QPrinter::Idle);

    // The next job proposes its own document's name and prints.
    const QString path = artefact("print-dialog-after-failure.pdf");
    QFile::remove(path);
    QString proposed;
    whenShown([&](QPrintDialog* dialog) {
        proposed = fileNameEdit(dialog)->text();
        fileNameEdit(dialog)->setText(path);
        dialog->accept();
    });
    QPrinter next;
    ASSERT_TRUE(platform::runPrintDialog(defaults, next, QStringLiteral("Tavo CPR Evaluation Data"), nullptr));
    EXPECT_TRUE(proposed.endsWith(QStringLiteral("/Tavo CPR Evaluation Data.pdf"))) << proposed.toStdString();
    EXPECT_TRUE(printLine(next));
    EXPECT_TRUE(QFile::exists(path));
}

} // namespace

// A PDF file counts as whole only when its trailer points at its
// cross-reference table: a file cut short, or one that lost bytes on the way
// (a write that failed and the next that did not), is not.
TEST(PdfFile, WholeOnlyWhenItsTrailerFindsItsTable)
{
    const QString path = QDir::temp().filePath(QStringLiteral("tavo-pdf-whole-%1.pdf").arg(QCoreApplication::applicationPid()));
    {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QPainter painter(&printer);
        painter.drawText(QPoint(100, 100), QStringLiteral("whole"));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    EXPECT_TRUE(platform::pdfFileIsWhole(path));

    const struct {
        const char* name;
        QByteArray bytes;
    } broken[] = {
        {"cut short", whole.left(whole.size() / 2)},
        {"empty", QByteArray()},
        {"lost bytes", whole.left(200) + whole.mid(260)},
    };
    for (const auto& c : broken) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        EXPECT_FALSE(platform::pdfFileIsWhole(path)) << c.name;
    }
    QFile::remove(path);
    EXPECT_FALSE(platform::pdfFileIsWhole(path)) << "no file";
}

namespace {

// Opens the FIFO to write once a reader has it open (a reader waits in its
// open for a writer): the reader is there for a job that starts now, and
// sees the FIFO's end only when this end is closed too. -1 after a while
// without a reader.
int writerOnceRead(const QByteArray& fifo)
{
    for (int tries = 0; tries < 5000; ++tries) {
        const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            return fd;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
}

// Reads a FIFO on a thread of its own, as a program at the other end of a
// print would: to its end, or only its first bytes before it leaves.
class FifoReader {
public:
    explicit FifoReader(const QString& path, bool leaveEarly = false)
        : path(QFile::encodeName(path))
        , thread([this, leaveEarly] {
            const int fd = ::open(this->path.constData(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                return;
            char buffer[4096];
            ssize_t n;
            while ((n = ::read(fd, buffer, leaveEarly ? 16 : sizeof buffer)) > 0) {
                received.append(buffer, n);
                if (leaveEarly)
                    break;
            }
            ::close(fd);
        })
        , holder(writerOnceRead(this->path))
    {
    }
    bool ready() const { return holder >= 0; }
    // What came through; waits for the reader to be done.
    QByteArray all()
    {
        finish();
        return received;
    }
    ~FifoReader() { finish(); }

private:
    void finish()
    {
        if (holder >= 0)
            ::close(holder);
        holder = -1;
        if (thread.joinable())
            thread.join();
    }

    QByteArray path;
    QByteArray received;
    std::thread thread;
    int holder = -1;
};

QPrinter* pdfPrinter(const QString& path)
{
    auto* printer = new QPrinter;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

mode_t typeAt(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

} // namespace

// A job on a FIFO or a link to a device takes what it painted through and
// leaves the node as it was, whether the job ends or is given up: only a
// file the job itself wrote is ever removed.
TEST(PrintJob, LeavesTargetsItDidNotWrite)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString null = dir.filePath(QStringLiteral("null.pdf"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), null));

    for (const bool giveUp : {false, true}) {
        FifoReader reader(fifo);
        ASSERT_TRUE(reader.ready());
        std::unique_ptr<QPrinter> printer(pdfPrinter(fifo));
        platform::PrintJob job(*printer);
        QPainter painter;
        ASSERT_TRUE(job.begin(painter)) << job.failure().logText().toStdString();
        painter.drawText(100, 100, QStringLiteral("Tavo"));
        if (giveUp)
            job.abandon(painter);
        else
            EXPECT_TRUE(job.end(painter)) << job.failure().logText().toStdString();
        EXPECT_TRUE(reader.all().startsWith("%PDF")) << giveUp;
        EXPECT_EQ(typeAt(fifo), S_IFIFO) << giveUp;

        std::unique_ptr<QPrinter> nullPrinter(pdfPrinter(null));
        platform::PrintJob nullJob(*nullPrinter);
        ASSERT_TRUE(nullJob.begin(painter));
        painter.drawText(100, 100, QStringLiteral("Tavo"));
        if (giveUp)
            nullJob.abandon(painter);
        else
            EXPECT_TRUE(nullJob.end(painter)) << "a device is not read back";
        EXPECT_EQ(typeAt(null), S_IFLNK) << giveUp;
    }

    // A reader that leaves early: the job goes on to its end, and the
    // program with it.
    {
        FifoReader leaving(fifo, true);
        ASSERT_TRUE(leaving.ready());
        std::unique_ptr<QPrinter> printer(pdfPrinter(fifo));
        platform::PrintJob job(*printer);
        QPainter painter;
        ASSERT_TRUE(job.begin(painter));
        for (int page = 0; page < 400; ++page) {
            painter.drawText(100, 100, QStringLiteral("Tavo page %1").arg(page));
            printer->newPage();
            // Half way the reader has had its bytes and is gone.
            if (page == 200) {
                EXPECT_EQ(leaving.all().size(), 16);
            }
        }
        job.end(painter);
        EXPECT_EQ(typeAt(fifo), S_IFIFO);
    }

    // A FIFO nothing reads is refused at once rather than waited on.
    std::unique_ptr<QPrinter> printer(pdfPrinter(fifo));
    platform::PrintJob job(*printer);
    QPainter painter;
    EXPECT_FALSE(job.begin(painter));
    EXPECT_EQ(job.failure().reason, platform::PrintFailure::Reason::NoReader);
    EXPECT_EQ(typeAt(fifo), S_IFIFO);
}

// A job given up removes the file it wrote, and not a file that has taken
// its place since.
TEST(PrintJob, RemovesOnlyTheFileItWrote)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.pdf"));
    for (const bool replaced : {false, true}) {
        std::unique_ptr<QPrinter> printer(pdfPrinter(path));
        platform::PrintJob job(*printer);
        QPainter painter;
        ASSERT_TRUE(job.begin(painter));
        painter.drawText(100, 100, QStringLiteral("Tavo"));
        if (replaced) {
            QFile::remove(path);
            QFile other(path);
            ASSERT_TRUE(other.open(QIODevice::WriteOnly));
            other.write("another program's file");
        }
        job.abandon(painter);
        EXPECT_EQ(QFile::exists(path), replaced);
    }
}
