#include "session/CoursePrintDialog.h"

#include "Database/CourseSchedulePrint.h"
#include "platformqt/MessageBox.h"
#include "session/TrainingApp.h"

#include <QPrintDialog>
#include <QPrinter>

void printCourseSchedule(const CourseRecord& course, const std::vector<SessionRecord>& rows, QWidget* owner)
{
    TrainingApp* app = trainingApp();
    if (!app)
        return;
    QPrinter& printer = app->printerDefaults();
    QPrintDialog dialog(&printer, owner);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    courseprint::printCourseSchedule(printer, course, rows, [owner](const std::wstring& text, const std::wstring& caption) {
        platform::messageBox(owner, text, caption, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    });
}
