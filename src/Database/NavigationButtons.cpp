#include "Database/NavigationButtons.h"

#include "Database/EditorControls.h"
#include "res/resource.h"

bool NavigationButtons::subclass(QWidget* dialog)
{
    using namespace recordEditor;
    bool ok = first.subclassAndLoad(idFirst, dialog, IDB_FIRST, IDB_FIRST_PRESSED, IDB_FIRST_FOCUSED, IDB_FIRST_DISABLED, 0);
    ok = last.subclassAndLoad(idLast, dialog, IDB_LAST, IDB_LAST_PRESSED, IDB_LAST_FOCUSED, IDB_LAST_DISABLED, 0) && ok;
    ok = next.subclassAndLoad(idNext, dialog, IDB_NEXT, IDB_NEXT_PRESSED, IDB_NEXT_FOCUSED, IDB_NEXT_DISABLED, 0) && ok;
    ok = previous.subclassAndLoad(idPrevious, dialog, IDB_PREVIOUS, IDB_PREVIOUS_PRESSED, IDB_PREVIOUS_FOCUSED,
                                  IDB_PREVIOUS_DISABLED, 0)
        && ok;
    return ok;
}
