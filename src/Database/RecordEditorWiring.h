#pragma once
// The window side that every record editor shares, apart from the editor
// template: the controls' ids, the quick-find box's close-up notification,
// enabling the buttons by their bits, and Enter moving on to the next field.
#include "Database/EditorControls.h"

#include <string>

class QKeyEvent;
namespace platform {
class ComboBox;
class Dialog;
}

namespace recordEditor {

// Makes no button the default one (Enter is handled by pressEnter), and
// adds what the builder's controls do not tell by themselves: the quick-find box
// reports the closing of its list as CBN_CLOSEUP, once the choice made in
// the list is selected. (A double click needs nothing: the second press of
// a double click is a click of its own, so Next and Previous move twice.)
void installWiring(platform::Dialog* dialog);

// Enables Save, Discard, First, Last, Next, Previous and New by the bits of
// the editor template, and Delete by its bit when deleting is allowed; a
// control is disabled only after the focus moved off it. Controls that an
// editor does not have are left out.
void enableButtons(platform::Dialog* dialog, int bits, bool deleteAllowed);

platform::ComboBox* quickFindBox(const platform::Dialog* dialog);
// The quick-find box's text: its selected entry, else what it shows.
std::string quickFindText(const platform::Dialog* dialog);

// Enter or Return as the system's dialogs take it when no button is the
// default: on a push button its click, on a field the dialog's OK (IDOK).
// False for any other key.
bool pressEnter(platform::Dialog* dialog, const QKeyEvent* event);
// The focus goes to the next field in tab order, from the last one to the first.
void focusNextField(platform::Dialog* dialog);

// Whether the notification is an edit field's text change.
bool isEditChange(const platform::Dialog* dialog, int id, int code);

} // namespace recordEditor
