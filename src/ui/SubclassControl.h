#pragma once
// A control of the program's own class taking over a dialog's control: it
// gets the control's place, id, class name, style, font and text and its
// place in the order of the dialog's controls, and the old control goes.
class QWidget;

// False when the dialog has no control with that id.
bool replaceDlgItem(QWidget* dialog, int controlId, QWidget* replacement);
