#include "res/Dialogs.h"

namespace res {

const std::vector<platform::DialogTable>& dialogTables()
{
    static const std::vector<platform::DialogTable> tables = {
        sampleDialog(),
        sampleEditorDialog(),
        calibrateDialog(),
        propertyFolderDialog(),
        configurationDialog(),
        configGeneralPage(),
        configDebriefing1Page(),
        configDebriefing2Page(),
        configPrintPage(),
        configControllerPage(),
        iconLegendsDialog(),
        aboutDialog(),
    };
    return tables;
}

} // namespace res
