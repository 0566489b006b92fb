#include "Utillib/WindowUtil.h"

#include "Utillib/FileUtil.h"

#include "Utillib/DialogTemplateEditor.h"
#include "Utillib/FontUtil.h"
#include "Utillib/GString.h"
#include "Utillib/TextBlock.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"

#include <QFontMetrics>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QScreen>
#include <QWidget>
#include <algorithm>
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

void applySmallFontRule(DialogTemplateEditor& editor, bool nonAnsiCharset, bool smallFontsExist)
{
    constexpr int smallPoints = 7;
    if (!nonAnsiCharset && smallFontsExist) {
        editor.setFont("Small Fonts", smallPoints);
        return;
    }
    // Where there is no "Small Fonts" (on every system but a few) the
    // dialog's own face at the small size stands in for it; a template
    // without a font of its own gets the dialogs' default face.
    if (!editor.setFontSize(smallPoints))
        editor.setFont(platform::qStringToAnsi(QApplication::font().family()), smallPoints);
}

void applySmallFont(DialogTemplateEditor& editor)
{
    bool nonAnsi = FontUtil::isNonAnsiCharset();
    applySmallFontRule(editor, nonAnsi, !nonAnsi && FontUtil::smallFontsExists());
}

namespace {

// The template, with the small-font rule applied when asked or when it would
// not fit the work area; empty when there is no such template.
DialogTemplateEditor preparedTemplate(int templateId, bool always)
{
    DialogTemplateEditor editor(templateId);
    if (editor.isEmpty())
        return editor;
    bool apply = always;
    if (!apply) {
        SIZE size = editor.getSize();
        POINT pixels = editor.toPixels(size.cx, size.cy);
        RECT area = workArea(nullptr);
        apply = pixels.x > 0.8 * (area.right - area.left) || pixels.y > 0.8 * (area.bottom - area.top);
    }
    if (apply)
        applySmallFont(editor);
    return editor;
}

bool createFrom(const DialogTemplateEditor& editor, platform::Dialog* dialog, QWidget* parent)
{
    return dialog && !editor.isEmpty() && dialog->createIndirect(editor.data(), editor.size(), parent);
}

int runFrom(const DialogTemplateEditor& editor, platform::Dialog* dialog, QWidget* parent)
{
    if (!createFrom(editor, dialog, parent))
        return IDCANCEL;
    return dialog->doModal();
}

// Text measured in a font, the way a device context with that font selected measures it.
class FontMeasure : public TextDevice {
public:
    explicit FontMeasure(const QFont& font)
        : metrics(font)
    {
    }
    int lineHeight() override { return metrics.height(); }
    SIZE textExtent(const std::string& text) override
    {
        return SIZE { metrics.horizontalAdvance(platform::ansiToQString(text)), metrics.height() };
    }
    void textOut(int, int, const std::string&) override { }

private:
    QFontMetrics metrics;
};

} // namespace

bool createDialogFitted(platform::Dialog* dialog, int templateId, QWidget* parent)
{
    return createFrom(preparedTemplate(templateId, false), dialog, parent);
}

int doModalFitted(platform::Dialog* dialog, int templateId, QWidget* parent)
{
    return runFrom(preparedTemplate(templateId, false), dialog, parent);
}

bool createDialogSmallFont(platform::Dialog* dialog, int templateId, QWidget* parent)
{
    return createFrom(preparedTemplate(templateId, true), dialog, parent);
}

int doModalSmallFont(platform::Dialog* dialog, int templateId, QWidget* parent)
{
    return runFrom(preparedTemplate(templateId, true), dialog, parent);
}

ControlMargins controlMargins(const QWidget* window)
{
    ControlMargins margins;
    if (!window)
        return margins;
    std::string name = platform::windowClassName(window);
    DWORD style = platform::windowStyle(window);
    auto all = [&](DWORD bits) { return (style & bits) == bits; };
    if (name == "Button") {
        if (all(0xB))
            return margins; // owner-drawn: it draws what it likes
        margins.isText = true;
        if (all(7)) {
            margins.left = 10;
            margins.bottom = 2;
            return margins;
        }
        bool checkOrRadio = all(5) || all(6) || all(3) || all(9) || (style & 2) || (style & 4);
        margins.multiline = style & BS_MULTILINE;
        if (checkOrRadio && !(style & BS_PUSHLIKE)) {
            margins.left = 19;
        } else {
            margins.left = margins.top = margins.right = margins.bottom = 2;
        }
    } else if (name == "Static") {
        margins.isText = true;
        bool textStyle = !(all(7) || all(0xE) || (style & 4) || (style & 8) || all(5) || all(3) || all(0xD)
                           || (style & 0x800) || all(9) || all(6));
        if (textStyle) {
            margins.left = 1;
            DWORD kind = style & SS_TYPEMASK;
            margins.multiline = kind != SS_LEFTNOWORDWRAP && kind != SS_SIMPLE;
        }
    } else if (name == "Edit") {
        margins.isText = !(style & (ES_AUTOVSCROLL | ES_AUTOHSCROLL));
        margins.multiline = style & ES_MULTILINE;
    }
    return margins;
}

SIZE textExtent(const QWidget* window, int width)
{
    if (!window)
        return SIZE {};
    std::string text = platform::getWindowTextA(window);
    FontMeasure measure(window->font());
    SIZE extent;
    if (width != 0) {
        TextBlock block(measure, GString::to_wstring(text));
        std::vector<int> lines;
        extent = block.layout(nullptr, width, 0, 0, 0, false, lines);
    } else {
        extent = measure.textExtent(text);
    }
    return SIZE { extent.cx - 1, extent.cy - 1 };
}

void fitWindowToText(QWidget* window)
{
    if (!window)
        return;
    ControlMargins margins = controlMargins(window);
    SIZE text = textExtent(window, margins.multiline ? window->width() : 0);
    window->resize(window->width() + margins.left - margins.right + text.cx,
                   window->height() + margins.top - margins.bottom + text.cy);
}

bool createLikeControl(QWidget* placeholder, QWidget* newWindow, int controlId)
{
    if (!placeholder || !newWindow || !placeholder->parentWidget())
        return false;
    newWindow->setParent(placeholder->parentWidget());
    newWindow->setGeometry(placeholder->geometry());
    platform::setControlId(newWindow, controlId);
    platform::setWindowExStyle(newWindow, platform::windowExStyle(placeholder));
    platform::setWindowStyle(newWindow,
                             platform::windowStyle(placeholder) & (WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP));
    platform::setWindowText(newWindow, QStringLiteral("c"));
    return true;
}

void installWaitCursor()
{
    setWaitCursorHooks([] { QApplication::setOverrideCursor(Qt::WaitCursor); },
                       [] { QApplication::restoreOverrideCursor(); });
}

void limitText(QPlainTextEdit* edit, int limit)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, limit] {
        const QString text = edit->toPlainText();
        if (text.size() <= limit)
            return;
        QTextCursor cursor = edit->textCursor();
        const int position = std::min<int>(cursor.position(), limit);
        edit->setPlainText(text.left(limit));
        cursor = edit->textCursor();
        cursor.setPosition(position);
        edit->setTextCursor(cursor);
    });
}

} // namespace Utillib
