#pragma once
// Every dialog table of the program; each dialog's file appends its table here.
#include "platform/DialogTemplate.h"

#include <vector>

namespace res {

const std::vector<platform::DialogTable>& dialogTables();

// The tables, one function per dialog.
platform::DialogTable sampleDialog();
platform::DialogTable sampleEditorDialog();
platform::DialogTable calibrateDialog();
platform::DialogTable propertyFolderDialog();
platform::DialogTable algorithmDialog();
platform::DialogTable personDialog();
platform::DialogTable scenarioDialog();
platform::DialogTable editEventsDialog();
platform::DialogTable eventDialog();
platform::DialogTable configurationDialog();
platform::DialogTable configGeneralPage();
platform::DialogTable configDebriefing1Page();
platform::DialogTable configDebriefing2Page();
platform::DialogTable configPrintPage();
platform::DialogTable configControllerPage();
platform::DialogTable iconLegendsDialog();
platform::DialogTable aboutDialog();
platform::DialogTable sessionEditorDialog();
platform::DialogTable sessionReviewPage();
platform::DialogTable browseSessionsDialog();
platform::DialogTable runCourseDialog();
platform::DialogTable newSessionDialog();
platform::DialogTable getSelectorDialog();
platform::DialogTable sendSelectorDialog();
platform::DialogTable transferProgressDialog();
platform::DialogTable coursePlannerDialog();

} // namespace res
