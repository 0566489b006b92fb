#include "platformqt/Controls.h"

#include "platform/WindowStyles.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace platform {

namespace {

// Search order after `startAfter`: the following items, then from the top
// back to `startAfter` itself.
template <class Matches>
int searchFrom(int count, int startAfter, Matches matches)
{
    if (startAfter < 0 || startAfter >= count)
        startAfter = count - 1;
    for (int step = 1; step <= count; ++step) {
        int index = (startAfter + step) % count;
        if (matches(index))
            return index;
    }
    return -1;
}

// Restores a flag when the scope ends, whatever happened inside it.
class FlagScope {
public:
    explicit FlagScope(bool& flag)
        : flag(flag)
        , old(flag)
    {
        flag = true;
    }
    ~FlagScope() { flag = old; }

private:
    bool& flag;
    bool old;
};

} // namespace

int sortedInsertPosition(const QStringList& items, const QString& text)
{
    int position = 0;
    while (position < items.size() && QString::compare(items[position], text, Qt::CaseInsensitive) <= 0)
        ++position;
    return position;
}

// ---- ComboBox ----

ComboBox::ComboBox(DWORD style, QWidget* parent)
    : QComboBox(parent)
    , style(style)
{
    if (!isDropDownList()) {
        setEditable(true);
        // Typing neither adds items nor completes them.
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr);
        connect(lineEdit(), &QLineEdit::textEdited, this, &ComboBox::onTextEdited);
    }
}

bool ComboBox::isSorted() const { return style & CBS_SORT; }

int ComboBox::addString(const QString& text)
{
    if (!isSorted())
        return insertString(-1, text);
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return insertString(sortedInsertPosition(items, text), text);
}

int ComboBox::insertString(int index, const QString& text)
{
    if (index < 0 || index > count())
        index = count();
    QSignalBlocker quiet(this);
    int selected = currentIndex();
    QString edit = shownText();
    insertItem(index, text);
    // The widget selects the first item put into an empty list; ours waits to be told.
    if (selected < 0 && currentIndex() >= 0) {
        setCurrentIndex(-1);
        if (!isDropDownList())
            setEditText(edit);
    }
    return index;
}

int ComboBox::deleteString(int index)
{
    if (index < 0 || index >= count())
        return CB_ERR;
    QSignalBlocker quiet(this);
    bool wasSelected = index == currentIndex();
    QString edit = shownText();
    removeItem(index);
    if (wasSelected) {
        setCurrentIndex(-1);
        if (!isDropDownList())
            setEditText(edit);
    }
    return count();
}

void ComboBox::resetContent()
{
    QSignalBlocker quiet(this);
    clear();
    setCurrentIndex(-1);
    if (!isDropDownList())
        clearEditText();
}

QString ComboBox::getLBText(int index) const { return index >= 0 && index < count() ? itemText(index) : QString(); }

int ComboBox::setCurSel(int index)
{
    QSignalBlocker quiet(this);
    if (index < 0 || index >= count()) {
        setCurrentIndex(-1);
        if (!isDropDownList())
            clearEditText();
        return CB_ERR;
    }
    setCurrentIndex(index);
    if (!isDropDownList())
        setEditText(itemText(index));
    return index;
}

int ComboBox::findString(int startAfter, const QString& text) const
{
    return searchFrom(count(), startAfter, [&](int i) { return itemText(i).startsWith(text, Qt::CaseInsensitive); });
}

int ComboBox::findStringExact(int startAfter, const QString& text) const
{
    return searchFrom(count(), startAfter,
                      [&](int i) { return QString::compare(itemText(i), text, Qt::CaseInsensitive) == 0; });
}

int ComboBox::selectString(int startAfter, const QString& text)
{
    int index = findString(startAfter, text);
    if (index < 0)
        return CB_ERR;
    return setCurSel(index);
}

QString ComboBox::shownText() const
{
    if (isDropDownList())
        return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
    return lineEdit()->text();
}

bool ComboBox::setShownText(const QString& text)
{
    if (isDropDownList())
        return false;
    QSignalBlocker quiet(this);
    lineEdit()->setText(text);
    return true;
}

void ComboBox::onTextEdited(const QString& text)
{
    // What the user typed is the combo box's text: the list follows only when
    // the text names one of its items.
    QSignalBlocker quiet(this);
    int cursor = lineEdit()->cursorPosition();
    int match = findStringExact(-1, text);
    if (match != currentIndex()) {
        setCurrentIndex(match);
        lineEdit()->setText(text);
        lineEdit()->setCursorPosition(cursor);
    }
}

// ---- ListBox ----

ListBox::ListBox(DWORD style, QWidget* parent)
    : QListWidget(parent)
    , style(style)
{
    if (style & LBS_NOSEL)
        setSelectionMode(QAbstractItemView::NoSelection);
    else if (style & LBS_EXTENDEDSEL)
        setSelectionMode(QAbstractItemView::ExtendedSelection);
    else if (style & LBS_MULTIPLESEL)
        setSelectionMode(QAbstractItemView::MultiSelection);
    else
        setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!programmatic)
            Q_EMIT userSelectionChanged();
    });
}

bool ListBox::isSorted() const { return style & LBS_SORT; }

bool ListBox::isMultipleSelection() const { return style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }

int ListBox::addString(const QString& text)
{
    if (!isSorted())
        return insertString(-1, text);
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << item(i)->text();
    return insertString(sortedInsertPosition(items, text), text);
}

int ListBox::insertString(int index, const QString& text)
{
    FlagScope quiet(programmatic);
    if (index < 0 || index > count())
        index = count();
    insertItem(index, text);
    prepareItem(item(index));
    return index;
}

int ListBox::deleteString(int index)
{
    if (index < 0 || index >= count())
        return LB_ERR;
    FlagScope quiet(programmatic);
    delete takeItem(index);
    return count();
}

void ListBox::resetContent()
{
    FlagScope quiet(programmatic);
    clear();
}

QString ListBox::getText(int index) const { return index >= 0 && index < count() ? item(index)->text() : QString(); }

int ListBox::getCurSel() const
{
    if (isMultipleSelection())
        return currentRow();
    auto rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int ListBox::setCurSel(int index)
{
    if (isMultipleSelection())
        return LB_ERR;
    FlagScope quiet(programmatic);
    if (index < 0 || index >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return LB_ERR;
    }
    setCurrentRow(index);
    item(index)->setSelected(true);
    return index;
}

bool ListBox::getSel(int index) const { return index >= 0 && index < count() && item(index)->isSelected(); }

bool ListBox::setSel(int index, bool selected)
{
    FlagScope quiet(programmatic);
    if (index == -1) {
        for (int i = 0; i < count(); ++i)
            item(i)->setSelected(selected);
        return true;
    }
    if (index < 0 || index >= count())
        return false;
    item(index)->setSelected(selected);
    return true;
}

int ListBox::getSelCount() const { return static_cast<int>(selectedItems().size()); }

int ListBox::findString(int startAfter, const QString& text) const
{
    return searchFrom(count(), startAfter, [&](int i) { return item(i)->text().startsWith(text, Qt::CaseInsensitive); });
}

int ListBox::findStringExact(int startAfter, const QString& text) const
{
    return searchFrom(count(), startAfter,
                      [&](int i) { return QString::compare(item(i)->text(), text, Qt::CaseInsensitive) == 0; });
}

int ListBox::selectString(int startAfter, const QString& text)
{
    int index = findString(startAfter, text);
    return index < 0 ? LB_ERR : setCurSel(index);
}

// ---- CheckListBox ----

CheckListBox::CheckListBox(DWORD style, QWidget* parent)
    : ListBox(style, parent)
{
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* changed) {
        if (!programmatic)
            Q_EMIT userCheckChanged(row(changed));
    });
}

void CheckListBox::prepareItem(QListWidgetItem* entry)
{
    entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
    entry->setCheckState(Qt::Unchecked);
}

int CheckListBox::getCheck(int index) const
{
    if (index < 0 || index >= count())
        return -1;
    switch (item(index)->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

bool CheckListBox::setCheck(int index, int state)
{
    if (index < 0 || index >= count() || state < 0 || state > 2)
        return false;
    FlagScope quiet(programmatic);
    item(index)->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    return true;
}

bool CheckListBox::enableItem(int index, bool enable)
{
    if (index < 0 || index >= count())
        return false;
    FlagScope quiet(programmatic);
    QListWidgetItem* entry = item(index);
    entry->setFlags(enable ? entry->flags() | Qt::ItemIsEnabled : entry->flags() & ~Qt::ItemIsEnabled);
    return true;
}

bool CheckListBox::isItemEnabled(int index) const
{
    return index >= 0 && index < count() && (item(index)->flags() & Qt::ItemIsEnabled);
}

} // namespace platform
