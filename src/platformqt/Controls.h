#pragma once
// The list controls with the behaviours the program's forms rely on: items
// are added unsorted or in sorted place, nothing is selected until someone
// selects (-1), searches match the start of an item ignoring case and go on
// from a given item, wrapping around. Texts are QStrings; narrow texts are
// converted by the callers.
#include "platform/WinTypes.h"

#include <QComboBox>
#include <QListWidget>
#include <QString>

namespace platform {

// A combo box: CBS_DROPDOWNLIST shows only its list; CBS_DROPDOWN and
// CBS_SIMPLE have an edit field. CBS_SORT keeps the items sorted.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(DWORD style, QWidget* parent = nullptr);

    DWORD comboStyle() const { return style; }
    bool isDropDownList() const { return (style & 3) == 3; }
    bool isSorted() const;

    // The index of the new item, keeping the selection and the edit text.
    int addString(const QString& text);
    // Inserts at index (-1: at the end) regardless of sorting.
    int insertString(int index, const QString& text);
    // The number of items left, or CB_ERR for a bad index.
    int deleteString(int index);
    // Removes every item; nothing selected and the edit field empty.
    void resetContent();
    int getCount() const { return count(); }
    QString getLBText(int index) const;

    int getCurSel() const { return currentIndex(); }
    // Selects the item (its text shown in the edit field); -1 clears the
    // selection and the edit field. CB_ERR for -1 or a bad index.
    int setCurSel(int index);

    // The first item after `startAfter` (-1: from the start) that begins with
    // the text ignoring case, wrapping around; CB_ERR when none.
    int findString(int startAfter, const QString& text) const;
    // The same for an item equal to the text ignoring case.
    int findStringExact(int startAfter, const QString& text) const;
    // Selects findString's item; CB_ERR, with the selection unchanged, when none.
    int selectString(int startAfter, const QString& text);

    // The edit field's text; for a drop-down list the selected item's text.
    QString shownText() const;
    // Sets the edit field's text, leaving the selection as it is; does
    // nothing for a drop-down list.
    bool setShownText(const QString& text);

private:
    void onTextEdited(const QString& text);
    DWORD style;
};

// A list box: LBS_SORT keeps the items sorted; LBS_MULTIPLESEL and
// LBS_EXTENDEDSEL allow several selected items, LBS_NOSEL none.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(DWORD style, QWidget* parent = nullptr);

    DWORD listStyle() const { return style; }
    bool isSorted() const;
    bool isMultipleSelection() const;

    int addString(const QString& text);
    int insertString(int index, const QString& text);
    int deleteString(int index);
    void resetContent();
    int getCount() const { return count(); }
    QString getText(int index) const;

    // The selected item of a single-selection list, or the focused item of a
    // multiple-selection list; -1 when none.
    int getCurSel() const;
    int setCurSel(int index);
    bool getSel(int index) const;
    bool setSel(int index, bool selected);
    int getSelCount() const;

    int findString(int startAfter, const QString& text) const;
    int findStringExact(int startAfter, const QString& text) const;
    int selectString(int startAfter, const QString& text);

Q_SIGNALS:
    // Selection changed by the user (not by the calls above).
    void userSelectionChanged();

protected:
    // Gives a new item what the kind of list needs.
    virtual void prepareItem(QListWidgetItem*) { }
    // Set while the program itself changes items or the selection.
    bool programmatic = false;

private:
    DWORD style;
};

// A list box whose items carry check boxes.
class CheckListBox : public ListBox {
    Q_OBJECT
public:
    explicit CheckListBox(DWORD style, QWidget* parent = nullptr);

    // 0 unchecked, 1 checked, 2 indeterminate; -1 for a bad index.
    int getCheck(int index) const;
    bool setCheck(int index, int state);
    // A disabled item is shown greyed; the user can neither check nor select it.
    bool enableItem(int index, bool enable);
    bool isItemEnabled(int index) const;

Q_SIGNALS:
    void userCheckChanged(int index);

protected:
    void prepareItem(QListWidgetItem* entry) override;
};

// Where a sorted list puts a new text: after every item not greater ignoring case.
int sortedInsertPosition(const QStringList& items, const QString& text);

} // namespace platform
