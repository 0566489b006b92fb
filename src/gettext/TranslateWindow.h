#pragma once
// Dialogs are written in English; a text that must be translated starts with
// the marker "¤" (U+00A4). When a dialog is set up, every marked text of the
// dialog and its child windows is replaced by the translation of the text
// after the marker; other texts (numbers, units) stay as they are.
#include <string>

class QWidget;

// The marker in the ANSI code page (at most 9 bytes), found on first use and
// kept for the run, and its length.
const char* translationMarker();
int markerLength();
// Whether the text begins with the marker's bytes.
bool startsWithMarker(const char* text);
// Finds the marker again.
void refreshTranslationMarker();

// Translates the marked texts of the window and all its descendants.
void translateWindow(QWidget* window);
// Translates the marked texts of a menu bar or menu and its submenus; the
// number of items of the menu, 0 when it is none.
int translateMenu(QWidget* menu);
