#pragma once
// A single-line edit that takes input only through a mask ("##:##" for a
// time, "####-##-##" for a date, "%%%%" for a number): literals are shown and
// skipped, input positions take one character of their class and show the
// prompt symbol while empty. Typing, Backspace, Delete, cut, paste and the
// caret keys all go through the mask, so the literals cannot be damaged.
#include "ui/MaskedEditCore.h"

#include <QLineEdit>

class COXMaskedEdit : public QLineEdit, public MaskedEditCore {
public:
    explicit COXMaskedEdit(const char* mask = "", QWidget* parent = nullptr);

    // The separators of the user's locale (the first character of each),
    // with "," ":" and "/" where the locale has none we can show.
    static Separators localeSeparators();

    // Takes over the dialog's edit control with that id; false when there is none.
    bool subclassDlgItem(int controlId, QWidget* dialog);
    // Creates the edit as a child of `parent`, with its id.
    bool Create(const QRect& rect, QWidget* parent, int controlId);

    // Beeps.
    void OnInvalidInput() override;

    // The format the input takes ("YYYY-MM-DD"), shown greyed while nothing
    // is typed; the edit's text is then empty instead of the prompts and
    // literals. An empty hint shows the prompts and literals as usual.
    void setFormatHint(const QString& hint);
    const QString& formatHint() const { return hint; }

protected:
    bool HasWindow() const override { return true; }
    void ShowText(const std::string& text) override;
    void PlaceCaret(int position) override;

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool hasMask() const { return !maskData.empty(); }
    void pasteThroughMask();
    void cutThroughMask(bool copyFirst);
    int selectionFrom() const;
    int selectionTo() const;
    bool nothingTyped() const;

    QString hint;
};
