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
platform::DialogTable aboutDialog();
platform::DialogTable browseSessionsDialog();

} // namespace res
