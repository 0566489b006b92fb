#pragma once
// Dialog units: a dialog's sizes are stored in units of its font, a quarter
// of the average letter width across and an eighth of the line height down.
#include "platform/WinTypes.h"

#include <QFont>
#include <QString>

namespace platform {

// The screen's vertical dots per inch (96 when no screen is known).
int screenDpiY();

// The font a template names: the face at the point size turned into a pixel
// height at the screen's resolution.
QFont templateFont(const QString& face, int pointSize, int weight = 400, bool italic = false);

// x: the width of the 52 letters A-Z a-z plus 26, divided by 52;
// y: the height of the font plus its external leading.
SIZE fontBaseUnits(const QFont& font);

// The base units of a template font (weight 400), and those of a dialog
// without a font of its own (the application font).
SIZE dialogBaseUnits(const QString& face, int pointSize);
SIZE systemDialogBaseUnits();

// Dialog units to pixels and back with given base units.
RECT mapDialogRect(const RECT& units, SIZE baseUnits);

} // namespace platform
