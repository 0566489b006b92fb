#pragma once
#include "CPB/CPBComm.h"

#include <QImage>

// Draws a debriefing screen's bytes the way a 32-column unit display would
// show them, for looking at: text in the OEM code page `oemCodePage`, bar
// cells shaded (176 dark, 177 light), field codes as framed letters, bit
// images as dots.
QImage renderScreen(const ByteVector& screen, unsigned oemCodePage);
