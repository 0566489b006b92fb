#pragma once
// Tooltips answered from the id map: a window that forwards its tooltip
// requests shows, for any of its controls or toolbar buttons, the map's
// text of the control's id (or the button's command id), at most 300 pixels
// wide, after 800 ms; an id without a text shows no tooltip at all.
#include <QObject>
#include <QProxyStyle>
#include <QString>

class QFontMetrics;
class QPoint;
class QWidget;

namespace tooltips {

constexpr int initialDelayMs = 800;
constexpr int maxTipWidth = 300;
constexpr int tipMargin = 3;

// The id a tooltip of the widget is looked up by: a toolbar button's command
// id (its action's "commandId" property), else the control id; 0 for none.
int toolTipId(const QWidget* widget);

// The text broken by the program's word wrap (at blanks, after hyphens, and
// in Chinese, Japanese and Korean between any two of their characters) and
// at its own line breaks into lines no wider than `width` pixels; a word
// wider than that stands on a line of its own.
QString wrapText(const QString& text, const QFontMetrics& metrics, int width);

} // namespace tooltips

// Answers one tooltip request for the widget at the pointer's screen
// position: false, and no tooltip, when the map has no text for its id.
bool onToolTipNeedText(QWidget* widget, const QPoint& globalPos);

// Makes the window and every control it has or gets later forward their
// tooltip requests to onToolTipNeedText.
void forwardToolTips(QWidget* window);

// The program's style with the tooltips' initial delay.
class ToolTipStyle : public QProxyStyle {
public:
    ToolTipStyle();
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
