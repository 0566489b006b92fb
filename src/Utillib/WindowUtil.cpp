#include "Utillib/WindowUtil.h"

#include "Utillib/GString.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <array>
#include <cstring>

namespace Utillib {

void selectComboString(ComboBox* comboBox, const std::string& text)
{
    if (!comboBox)
        return;
    if (!comboBox->isDropDownList()) {
        if (getComboText(comboBox) == text)
            return;
        comboBox->setCurSel(-1);
        comboBox->setShownText(platform::ansiToQString(text));
        return;
    }
    if (text.empty()) {
        comboBox->setCurSel(-1);
        return;
    }
    QString wanted = platform::ansiToQString(text);
    int first = comboBox->selectString(-1, wanted);
    if (first == CB_ERR)
        return;
    // Prefix matches ignore case; go on to an item that is exactly the text.
    for (int current = first; platform::qStringToAnsi(comboBox->getLBText(current)) != text;) {
        current = comboBox->findString(current, wanted);
        if (current == first || current == CB_ERR) {
            comboBox->setCurSel(first);
            break;
        }
        comboBox->setCurSel(current);
    }
}

std::string getComboText(ComboBox* comboBox, bool fromEdit)
{
    if (!comboBox)
        return {};
    if (fromEdit || comboBox->getCurSel() == CB_ERR)
        return platform::getWindowTextA(comboBox);
    return platform::qStringToAnsi(comboBox->getLBText(comboBox->getCurSel()));
}

void copyComboItems(ComboBox* source, ComboBox* target)
{
    if (!source || !target)
        return;
    std::string kept = getComboText(target);
    target->resetContent();
    for (int i = 0; i < source->getCount(); ++i)
        target->addString(source->getLBText(i));
    selectComboString(target, kept);
}

ComboSelectionKeeper::ComboSelectionKeeper(ComboBox* comboBox)
    : comboBox(comboBox)
    , text(getComboText(comboBox))
{
}

ComboSelectionKeeper::~ComboSelectionKeeper()
{
    if (comboBox)
        selectComboString(comboBox, text);
}

std::string getWindowText(const QWidget* window) { return window ? platform::getWindowTextA(window) : std::string(); }

void setWindowTextIfChanged(QWidget* window, const std::string& text)
{
    if (window && platform::getWindowTextA(window) != text)
        platform::setWindowTextA(window, text);
}

void setDlgItemTextIfChanged(QWidget* dialog, int controlId, const std::string& text)
{
    setWindowTextIfChanged(platform::dlgItem(dialog, controlId), text);
}

bool isComboBox(const QWidget* window)
{
    std::string name = platform::windowClassName(window).substr(0, 9);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return window && name == "combobox";
}

bool isDropDownList(const QWidget* window) { return window && (platform::windowStyle(window) & 3) == 3; }

namespace {

void handFocusOn(QWidget* window)
{
    if (!window->hasFocus())
        return;
    if (QWidget* next = platform::nextDlgTabItem(window->parentWidget(), window); next && next != window)
        next->setFocus(Qt::TabFocusReason);
}

} // namespace

void disableWithFocus(QWidget* window)
{
    if (!window)
        return;
    handFocusOn(window);
    window->setEnabled(false);
}

void enableWithFocus(QWidget* window, bool enable)
{
    if (!window)
        return;
    bool enabled = !window->testAttribute(Qt::WA_ForceDisabled);
    if (enabled == enable)
        return;
    if (enable)
        window->setEnabled(true);
    else
        disableWithFocus(window);
}

void showWithFocus(QWidget* window, bool show)
{
    if (!window)
        return;
    if (show) {
        window->show();
        return;
    }
    handFocusOn(window);
    window->hide();
}

RECT workArea(const QWidget* window)
{
    if (!window) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->inherits("QMainWindow")) {
                window = top;
                break;
            }
    }
    QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return RECT {};
    QRect area = screen->availableGeometry();
    return RECT { area.x(), area.y(), area.x() + area.width(), area.y() + area.height() };
}

void setToolTipText(const std::wstring& text, ToolTipRequest& request)
{
    // Read by the tooltip after the request has been answered: kept until the next call.
    static std::array<char, 1024> narrow;
    static std::array<wchar_t, 512> wide;
    if (request.code == ToolTipRequest::narrowCode) {
        std::string bytes = GString::to_string(text);
        std::size_t count = std::min(bytes.size(), narrow.size() - 1);
        std::memcpy(narrow.data(), bytes.data(), count);
        narrow[count] = 0;
        request.narrowText = narrow.data();
    } else {
        std::size_t count = std::min(text.size(), wide.size() - 1);
        std::wmemcpy(wide.data(), text.data(), count);
        wide[count] = 0;
        request.wideText = wide.data();
    }
}

} // namespace Utillib
