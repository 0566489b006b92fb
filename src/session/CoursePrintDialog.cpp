#include "session/CoursePrintDialog.h"

#include "Database/CourseSchedulePrint.h"
#include "gettext/Translator.h"
#include "platformqt/MessageBox.h"
#include "platformqt/PrintDialog.h"
#include "session/TrainingApp.h"

#include <QPrinter>

void printCourseSchedule(const CourseRecord& course, const std::vector<SessionRecord>& rows, QWidget* owner)
{
    TrainingApp* app = trainingApp();
    if (!app)
        return;
    // A printer of this job's own: a failed job leaves the settings unharmed.
    QPrinter printer;
    if (!platform::runPrintDialog(app->printerDefaults(), printer,
                                  QString::fromStdWString(translate("Tavo CPR Course Schedule")), owner))
        return;
    courseprint::printCourseSchedule(printer, course, rows, [owner](const std::wstring& text, const std::wstring& caption) {
        platform::messageBox(owner, text, caption, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    });
}
