#include "ui/ToolTips.h"

#include "Utillib/TextBlock.h"
#include "platformqt/Window.h"
#include "ui/IdMap.h"

#include <QAction>
#include <QApplication>
#include <QChildEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <vector>

namespace tooltips {

int toolTipId(const QWidget* widget)
{
    if (!widget)
        return 0;
    if (auto* button = qobject_cast<const QToolButton*>(widget))
        if (QAction* action = button->defaultAction())
            return action->property("commandId").toInt();
    return platform::controlId(widget);
}

namespace {

// The word wrap's device for a tip: words measured in the tip's font, and
// the words it lays out collected line by line (line i at y = i), a blank
// between two words only where the layout left room for one.
class TipLines : public TextDevice {
public:
    explicit TipLines(const QFontMetrics& metrics)
        : metrics(metrics)
    {
    }

    int lineHeight() override { return 1; }
    SIZE textExtent(const std::string& text) override
    {
        return SIZE { metrics.horizontalAdvance(platform::ansiToQString(text)), 1 };
    }
    void textOut(int x, int y, const std::string& text) override
    {
        const auto line = static_cast<std::size_t>(std::max(y, 0));
        if (line >= lines.size()) {
            lines.resize(line + 1);
            ends.resize(line + 1, 0);
        }
        const QString word = platform::ansiToQString(text);
        if (!lines[line].isEmpty() && x > ends[line])
            lines[line] += QLatin1Char(' ');
        lines[line] += word;
        ends[line] = x + metrics.horizontalAdvance(word);
    }

    std::vector<QString> lines;

private:
    const QFontMetrics& metrics;
    std::vector<int> ends;
};

} // namespace

QString wrapText(const QString& text, const QFontMetrics& metrics, int width)
{
    TipLines device(metrics);
    TextBlock block(device, text.toStdWString());
    const SIZE used = block.draw(device, width, 0, 0, 0);
    device.lines.resize(static_cast<std::size_t>(std::max<LONG>(used.cy, 1)));
    QStringList lines;
    for (const QString& line : device.lines)
        lines << line;
    return lines.join(QLatin1Char('\n'));
}

} // namespace tooltips

namespace {

QLabel* shownTipLabel()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("qtooltip_label") && window->isVisible())
            return qobject_cast<QLabel*>(window);
    return nullptr;
}

class ToolTipForwarder : public QObject {
public:
    using QObject::QObject;

    void watch(QWidget* widget)
    {
        widget->removeEventFilter(this);
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child->isWidgetType())
                watch(static_cast<QWidget*>(child));
            return false;
        }
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        // Answered here either way: a control without a text shows nothing,
        // not the text Qt would make up for it.
        onToolTipNeedText(static_cast<QWidget*>(watched), static_cast<QHelpEvent*>(event)->globalPos());
        return true;
    }
};

// One forwarder for every window, owned by the application object.
ToolTipForwarder& forwarder()
{
    static QPointer<ToolTipForwarder> shared;
    if (!shared)
        shared = new ToolTipForwarder(qApp);
    return *shared;
}

void watchTree(QWidget* widget)
{
    forwarder().watch(widget);
    for (QObject* child : widget->children())
        if (child->isWidgetType())
            watchTree(static_cast<QWidget*>(child));
}

} // namespace

bool onToolTipNeedText(QWidget* widget, const QPoint& globalPos)
{
    const std::wstring text = idMap::lookup(tooltips::toolTipId(widget));
    if (text.empty()) {
        QToolTip::hideText();
        return false;
    }
    const QFontMetrics metrics(QToolTip::font());
    // The label's own frame and the margins come off the greatest width.
    const int frame = widget->style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, widget);
    const int room = tooltips::maxTipWidth - 2 * (tooltips::tipMargin + frame) - 2;
    QToolTip::showText(globalPos, tooltips::wrapText(QString::fromStdWString(text), metrics, room), widget);
    if (QLabel* label = shownTipLabel()) {
        label->setMargin(tooltips::tipMargin);
        label->setMaximumWidth(tooltips::maxTipWidth);
        label->adjustSize();
    }
    return true;
}

void forwardToolTips(QWidget* window)
{
    if (window)
        watchTree(window);
}

ToolTipStyle::ToolTipStyle() = default;

int ToolTipStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const
{
    if (hint == QStyle::SH_ToolTip_WakeUpDelay)
        return tooltips::initialDelayMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
