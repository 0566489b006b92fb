#include "calibrate/QtPortComboBox.h"

#include "platformqt/Controls.h"
#include "platformqt/Window.h"

void QtPortComboBox::resetContent()
{
    if (combo)
        combo->resetContent();
}

void QtPortComboBox::addItem(const std::string& text, int itemData)
{
    if (!combo)
        return;
    int index = combo->addString(platform::ansiToQString(text));
    if (index >= 0)
        combo->setItemData(index, itemData);
}

void QtPortComboBox::setCurrentIndex(int index)
{
    if (combo)
        combo->setCurSel(index);
}

std::string QtPortComboBox::currentText() const
{
    if (!combo)
        return {};
    return platform::qStringToAnsi(combo->shownText());
}
