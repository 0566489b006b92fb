#include "platformqt/Window.h"

#include "platform/CodePage.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTextEdit>
#include <QVariant>

namespace platform {

namespace {

constexpr char idProperty[] = "tavoControlId";
constexpr char classProperty[] = "tavoWindowClass";
constexpr char styleProperty[] = "tavoStyle";
constexpr char exStyleProperty[] = "tavoExStyle";
constexpr char textProperty[] = "tavoWindowText";

bool isDialogWidget(const QWidget* window)
{
    auto name = window->property(classProperty);
    if (name.isValid())
        return name.toString() == QLatin1String(dialogClassName);
    return qobject_cast<const QDialog*>(window) != nullptr;
}

// Controls whose own children are their inner parts, not windows of the program.
bool hidesChildren(const QWidget* window)
{
    if (isDialogWidget(window))
        return false;
    if (window->property(classProperty).isValid())
        return true;
    return qobject_cast<const QComboBox*>(window) || qobject_cast<const QAbstractSpinBox*>(window)
        || qobject_cast<const QAbstractScrollArea*>(window) || qobject_cast<const QTabBar*>(window)
        || qobject_cast<const QAbstractButton*>(window) || qobject_cast<const QLabel*>(window)
        || qobject_cast<const QLineEdit*>(window);
}

void collect(const QWidget* parent, std::vector<QWidget*>& out)
{
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow())
            continue;
        out.push_back(child);
        if (!hidesChildren(child))
            collect(child, out);
    }
}

// Style bits that the kind of a widget made in code stands for.
DWORD styleOfKind(const QWidget* window)
{
    if (qobject_cast<const QRadioButton*>(window))
        return BS_AUTORADIOBUTTON;
    if (auto* check = qobject_cast<const QCheckBox*>(window))
        return check->isTristate() ? BS_AUTO3STATE : BS_AUTOCHECKBOX;
    if (qobject_cast<const QGroupBox*>(window))
        return BS_GROUPBOX;
    if (auto* push = qobject_cast<const QPushButton*>(window))
        return (push->isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (push->isCheckable() ? BS_PUSHLIKE : 0);
    if (qobject_cast<const QPlainTextEdit*>(window) || qobject_cast<const QTextEdit*>(window))
        return ES_MULTILINE;
    if (auto* combo = qobject_cast<const ComboBox*>(window))
        return combo->comboStyle();
    if (auto* combo = qobject_cast<const QComboBox*>(window))
        return combo->isEditable() ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
    if (auto* list = qobject_cast<const ListBox*>(window))
        return list->listStyle();
    return 0;
}

bool isTabStop(const QWidget* window) { return window->focusPolicy() & Qt::TabFocus; }

} // namespace

int controlId(const QWidget* window)
{
    return window ? window->property(idProperty).toInt() : 0;
}

void setControlId(QWidget* window, int id)
{
    if (window)
        window->setProperty(idProperty, id);
}

QWidget* dlgItem(const QWidget* parent, int id)
{
    if (!parent)
        return nullptr;
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow() && child->property(idProperty).isValid() && controlId(child) == id)
            return child;
    }
    return nullptr;
}

std::string windowClassName(const QWidget* window)
{
    if (!window)
        return {};
    auto name = window->property(classProperty);
    if (name.isValid())
        return name.toString().toStdString();
    if (qobject_cast<const QDialog*>(window))
        return dialogClassName;
    if (qobject_cast<const QAbstractButton*>(window) || qobject_cast<const QGroupBox*>(window))
        return "Button";
    if (qobject_cast<const QLineEdit*>(window) || qobject_cast<const QPlainTextEdit*>(window)
        || qobject_cast<const QTextEdit*>(window))
        return "Edit";
    if (qobject_cast<const QLabel*>(window))
        return "Static";
    if (qobject_cast<const QComboBox*>(window))
        return "ComboBox";
    if (qobject_cast<const QListWidget*>(window))
        return "ListBox";
    if (qobject_cast<const QScrollBar*>(window))
        return "ScrollBar";
    return window->metaObject()->className();
}

void setWindowClassName(QWidget* window, const std::string& name)
{
    if (window)
        window->setProperty(classProperty, QString::fromStdString(name));
}

DWORD windowStyle(const QWidget* window)
{
    if (!window)
        return 0;
    auto stored = window->property(styleProperty);
    DWORD style = stored.isValid() ? stored.toUInt() : styleOfKind(window) | (window->isWindow() ? 0 : WS_CHILD);
    style &= ~(WS_VISIBLE | WS_DISABLED);
    if (!window->isHidden())
        style |= WS_VISIBLE;
    if (window->testAttribute(Qt::WA_ForceDisabled))
        style |= WS_DISABLED;
    // For windows of their own this bit is the maximise box.
    if (style & WS_CHILD)
        style = isTabStop(window) ? style | WS_TABSTOP : style & ~WS_TABSTOP;
    return style;
}

void setWindowStyle(QWidget* window, DWORD style)
{
    if (!window)
        return;
    window->setProperty(styleProperty, static_cast<uint>(style));
    window->setEnabled(!(style & WS_DISABLED));
    if (style & WS_CHILD) {
        window->setVisible(style & WS_VISIBLE);
        if (style & WS_TABSTOP)
            window->setFocusPolicy(Qt::StrongFocus);
        else if (isTabStop(window))
            window->setFocusPolicy(window->focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::ClickFocus);
    }
}

DWORD windowExStyle(const QWidget* window)
{
    return window ? window->property(exStyleProperty).toUInt() : 0;
}

void setWindowExStyle(QWidget* window, DWORD exStyle)
{
    if (window)
        window->setProperty(exStyleProperty, static_cast<uint>(exStyle));
}

QString ansiToQString(const std::string& text)
{
    return QString::fromStdWString(platform::multiByteToWide(CP_ACP, text).value_or(std::wstring()));
}

std::string qStringToAnsi(const QString& text)
{
    return platform::wideToMultiByte(CP_ACP, text.toStdWString()).value_or(std::string());
}

std::string getWindowTextA(const QWidget* window, std::size_t bufferSize)
{
    if (bufferSize == 0)
        return {};
    std::string text = qStringToAnsi(windowText(window));
    if (text.size() > bufferSize - 1)
        text.resize(bufferSize - 1);
    return text;
}

bool setWindowTextA(QWidget* window, const std::string& text) { return setWindowText(window, ansiToQString(text)); }

namespace {

// The text a static shows: a single "&" marks the next letter as a mnemonic
// and is not shown; "&&" shows one "&".
QString withoutMnemonics(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            shown += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
            shown += QLatin1Char('&');
            ++i;
        }
    }
    return shown;
}

} // namespace

QString windowText(const QWidget* window)
{
    if (!window)
        return {};
    if (auto* combo = qobject_cast<const ComboBox*>(window))
        return combo->shownText();
    if (auto* combo = qobject_cast<const QComboBox*>(window))
        return combo->currentText();
    if (auto* label = qobject_cast<const QLabel*>(window)) {
        QVariant raw = label->property(textProperty);
        return raw.isValid() ? raw.toString() : label->text();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(window))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(window))
        return group->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(window))
        return edit->text();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(window))
        return edit->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (window->isWindow() || isDialogWidget(window))
        return window->windowTitle();
    return window->property(textProperty).toString();
}

bool setWindowText(QWidget* window, const QString& text)
{
    if (!window)
        return false;
    if (auto* combo = qobject_cast<ComboBox*>(window)) {
        return combo->setShownText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(window)) {
        if (!combo->isEditable())
            return false;
        combo->setEditText(text);
    } else if (auto* label = qobject_cast<QLabel*>(window)) {
        // A static's "&" marks a mnemonic and "&&" stands for one "&", unless
        // the static says otherwise; its window text stays as it was given.
        label->setProperty(textProperty, text);
        // A picture keeps showing its bitmap.
        if (label->property("tavoPicture").toBool())
            return true;
        label->setText((windowStyle(label) & SS_NOPREFIX) ? text : withoutMnemonics(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(window)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(window)) {
        group->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(window)) {
        edit->setText(text);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(window)) {
        QString plain = text;
        edit->setPlainText(plain.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    } else if (window->isWindow() || isDialogWidget(window)) {
        window->setWindowTitle(text);
    } else {
        window->setProperty(textProperty, text);
    }
    return true;
}

std::vector<QWidget*> childWindows(const QWidget* parent)
{
    std::vector<QWidget*> result;
    if (parent)
        collect(parent, result);
    return result;
}

QWidget* nextDlgTabItem(const QWidget* dialog, const QWidget* control, bool previous)
{
    if (!dialog)
        return nullptr;
    std::vector<QWidget*> order = childWindows(dialog);
    int count = static_cast<int>(order.size());
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (order[i] == control)
            at = i;
    if (at < 0)
        at = previous ? count : -1;
    for (int step = 1; step <= count; ++step) {
        int index = ((previous ? at - step : at + step) % count + count) % count;
        QWidget* child = order[index];
        if (isTabStop(child) && child->isVisibleTo(dialog) && child->isEnabledTo(dialog))
            return child;
    }
    return nullptr;
}

int buttonCheck(const QWidget* button)
{
    if (auto* check = qobject_cast<const QCheckBox*>(button))
        return check->checkState() == Qt::Checked ? 1 : check->checkState() == Qt::PartiallyChecked ? 2 : 0;
    if (auto* other = qobject_cast<const QAbstractButton*>(button))
        return other->isChecked() ? 1 : 0;
    return 0;
}

void setButtonCheck(QWidget* button, int state)
{
    if (auto* check = qobject_cast<QCheckBox*>(button)) {
        if (state == 2)
            check->setTristate(true);
        check->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    } else if (auto* other = qobject_cast<QAbstractButton*>(button)) {
        if (other->isCheckable())
            other->setChecked(state == 1);
    }
}

RECT windowRectInParent(const QWidget* window)
{
    if (!window)
        return {};
    QRect g = window->geometry();
    return RECT { g.x(), g.y(), g.x() + g.width(), g.y() + g.height() };
}

} // namespace platform
