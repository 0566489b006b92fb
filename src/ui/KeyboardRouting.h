#pragma once
// Keys that the frames and forms take before the focused control sees them:
// the MDI keys (Ctrl+F4 closes the active frame, Ctrl+F6 and Ctrl+Tab go to
// the next one, with Shift to the previous one) and the main frame's
// accelerator table, whose commands go to the form, its frame and the
// application in turn.
#include "ui/AppServices.h"

class QKeyEvent;

// The notification code of a command that came from an accelerator.
constexpr int ACCELERATOR_CODE = 1;

// Installs the routing on the application once; later calls do nothing.
void installKeyboardRouting();

// The command of the key in the table, or 0.
int acceleratorCommand(const std::vector<Accelerator>& table, QKeyCombination key);
