#include "ui/COXMaskedEdit.h"

#include "Utillib/LogStream.h"
#include "platform/WindowStyles.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "ui/SubclassControl.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>

namespace {

// The first character of a locale setting as one narrow character, or the default.
char firstCharacter(const QString& setting, char fallback)
{
    if (setting.isEmpty())
        return fallback;
    std::string narrow = platform::qStringToAnsi(setting.left(1));
    return narrow.size() == 1 && narrow[0] != '?' ? narrow[0] : fallback;
}

// The first character between the fields of a date or time format.
QString separatorOf(const QString& format)
{
    for (qsizetype i = 1; i + 1 < format.size(); ++i) {
        QChar c = format[i];
        if (!c.isLetter() && c != QLatin1Char('\'') && !c.isSpace())
            return QString(c);
    }
    return {};
}

} // namespace

COXMaskedEdit::COXMaskedEdit(const char* mask, QWidget* parent)
    : QLineEdit(parent)
    , MaskedEditCore("", localeSeparators())
{
    setDragEnabled(false);
    setAcceptDrops(false);
    platform::setWindowClassName(this, "Edit");
    connect(this, &QLineEdit::textChanged, this, [this] { platform::notifyParent(this, EN_CHANGE); });
    SetMask(mask);
}

MaskedEditCore::Separators COXMaskedEdit::localeSeparators()
{
    const QLocale locale;
    Separators result;
    result.thousands = firstCharacter(locale.groupSeparator(), ',');
    result.time = firstCharacter(separatorOf(locale.timeFormat(QLocale::ShortFormat)), ':');
    result.date = firstCharacter(separatorOf(locale.dateFormat(QLocale::ShortFormat)), '/');
    return result;
}

bool COXMaskedEdit::subclassDlgItem(int controlId, QWidget* dialog)
{
    QWidget* old = platform::dlgItem(dialog, controlId);
    if (!old)
        return false;
    LOG_ASSERT(!(platform::windowStyle(old) & ES_MULTILINE));
    if (!replaceDlgItem(dialog, controlId, this))
        return false;
    if (hasMask())
        UpdateDisplay(0);
    return true;
}

bool COXMaskedEdit::Create(const QRect& rect, QWidget* parent, int controlId)
{
    setParent(parent);
    setGeometry(rect);
    platform::setControlId(this, controlId);
    if (hasMask())
        UpdateDisplay(0);
    return true;
}

void COXMaskedEdit::OnInvalidInput() { QApplication::beep(); }

void COXMaskedEdit::ShowText(const std::string& text)
{
    const QString shown = !hint.isEmpty() && nothingTyped() ? QString() : platform::ansiToQString(text);
    if (QLineEdit::text() != shown)
        setText(shown);
}

bool COXMaskedEdit::nothingTyped() const
{
    return hasMask() && GetInputText() == std::string(GetInputText().size(), GetPromptSymbol());
}

void COXMaskedEdit::setFormatHint(const QString& formatHint)
{
    hint = formatHint;
    setPlaceholderText(hint);
    if (hasMask())
        ShowText(GetDisplayText());
}

void COXMaskedEdit::PlaceCaret(int position) { setCursorPosition(position); }

int COXMaskedEdit::selectionFrom() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

int COXMaskedEdit::selectionTo() const
{
    return hasSelectedText() ? selectionStart() + static_cast<int>(selectedText().size()) : cursorPosition();
}

void COXMaskedEdit::keyPressEvent(QKeyEvent* event)
{
    if (!hasMask()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteThroughMask();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutThroughMask(true);
        return;
    }
    // Edits that would go round the mask.
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)
        || event->matches(QKeySequence::DeleteEndOfWord) || event->matches(QKeySequence::DeleteStartOfWord)
        || event->matches(QKeySequence::DeleteEndOfLine) || event->matches(QKeySequence::DeleteCompleteLine)) {
        OnInvalidInput();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: {
        const bool backwards = event->key() == Qt::Key_Left || event->key() == Qt::Key_Up;
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
            // One line: up and down move as left and right do.
            cursorForward(shift, backwards ? -1 : 1);
        else
            QLineEdit::keyPressEvent(event);
        if (!shift)
            setCursorPosition(CaretAfterMove(backwards, selectionFrom()));
        return;
    }
    case Qt::Key_Insert:
        if (event->modifiers() == Qt::NoModifier) {
            SetInsertMode(!GetInsertMode());
            return;
        }
        break;
    case Qt::Key_Delete:
        if (event->modifiers() == Qt::NoModifier) {
            OnDeleteKey(selectionFrom(), selectionTo());
            return;
        }
        break;
    case Qt::Key_Backspace:
        OnCharacter('\b', selectionFrom(), selectionTo());
        return;
    default:
        break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed[0].unicode() >= 32 && typed[0].unicode() != 127
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        for (QChar c : typed) {
            std::string narrow = platform::qStringToAnsi(QString(c));
            // A character the code page cannot hold is taken by no position.
            OnCharacter(narrow.size() == 1 ? narrow[0] : '\x7F', selectionFrom(), selectionTo());
        }
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void COXMaskedEdit::pasteThroughMask()
{
    const int oldStart = selectionFrom();
    const QString clip = QApplication::clipboard()->text();
    // The whole mask, also while the edit shows only its hint.
    QString result = platform::ansiToQString(GetDisplayText());
    result.replace(oldStart, selectionTo() - oldStart, clip);
    OnPasted(platform::qStringToAnsi(result), oldStart);
}

void COXMaskedEdit::cutThroughMask(bool copyFirst)
{
    if (!hasSelectedText())
        return;
    if (copyFirst)
        QApplication::clipboard()->setText(selectedText());
    OnCutOrClear(selectionFrom(), selectionTo());
}

void COXMaskedEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (hasMask() && hasSelectedText() && selectionStart() == 0 && selectedText().size() == text().size())
        setCursorPosition(NextInputPosition(0));
}

void COXMaskedEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (hasMask() && !IsInputValid()) {
        setFocus(Qt::OtherFocusReason);
        OnInvalidInput();
        setCursorPosition(NextInputPosition(0));
    }
}

void COXMaskedEdit::contextMenuEvent(QContextMenuEvent* event)
{
    if (!hasMask()) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    const bool selected = hasSelectedText();
    menu.addAction(tr("Cu&t"), this, [this] { cutThroughMask(true); })->setEnabled(selected);
    menu.addAction(tr("&Copy"), this, [this] { copy(); })->setEnabled(selected);
    menu.addAction(tr("&Paste"), this, [this] { pasteThroughMask(); });
    menu.addAction(tr("Delete"), this, [this] { cutThroughMask(false); })->setEnabled(selected);
    menu.addSeparator();
    menu.addAction(tr("Select All"), this, [this] { selectAll(); });
    menu.exec(event->globalPos());
}

void COXMaskedEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!hasMask()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // Composed text arrives as typed characters.
    for (QChar c : event->commitString()) {
        std::string narrow = platform::qStringToAnsi(QString(c));
        OnCharacter(narrow.size() == 1 ? narrow[0] : '\x7F', selectionFrom(), selectionTo());
    }
    event->accept();
}
