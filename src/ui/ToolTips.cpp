#include "ui/ToolTips.h"

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

QString wrapText(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        lines << line;
    }
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
