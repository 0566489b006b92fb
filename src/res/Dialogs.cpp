#include "res/Dialogs.h"

namespace res {

const std::vector<platform::DialogTable>& dialogTables()
{
    static const std::vector<platform::DialogTable> tables = {
        sampleDialog(),
        sampleEditorDialog(),
        calibrateDialog(),
        propertyFolderDialog(),
        algorithmDialog(),
        personDialog(),
        scenarioDialog(),
        editEventsDialog(),
        eventDialog(),
        configurationDialog(),
        configGeneralPage(),
        configDebriefing1Page(),
        configDebriefing2Page(),
        configPrintPage(),
        configControllerPage(),
        iconLegendsDialog(),
        aboutDialog(),
        sessionEditorDialog(),
        sessionReviewPage(),
        browseSessionsDialog(),
        runCourseDialog(),
        newSessionDialog(),
        getSelectorDialog(),
        sendSelectorDialog(),
        transferProgressDialog(),
        coursePlannerDialog(),
    };
    return tables;
}

} // namespace res
