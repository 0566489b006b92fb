#include "platformqt/Dialog.h"

#include "platform/DialogTemplate.h"
#include "platform/Resources.h"
#include "platform/WindowStyles.h"
#include "platformqt/AnimateControl.h"
#include "platformqt/BitmapResource.h"
#include "platformqt/Controls.h"
#include "platformqt/DialogUnits.h"
#include "platformqt/Window.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>
#include <map>

namespace platform {

namespace {

constexpr char radioGroupProperty[] = "tavoRadioGroup";

std::string lowerCase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

std::map<std::string, ControlFactory>& customClasses()
{
    static std::map<std::string, ControlFactory> classes;
    return classes;
}

Dialog* owningDialog(QWidget* control)
{
    for (QWidget* parent = control ? control->parentWidget() : nullptr; parent; parent = parent->parentWidget())
        if (auto* dialog = qobject_cast<Dialog*>(parent))
            return dialog;
    return nullptr;
}

// Check boxes and radio buttons that are not automatic only tell their dialog
// that they were clicked; the dialog sets their state.
void wireButton(QAbstractButton* button, DWORD style)
{
    DWORD kind = style & BS_TYPEMASK;
    bool manual = kind == BS_CHECKBOX || kind == BS_3STATE || kind == BS_RADIOBUTTON;
    bool autoRadio = kind == BS_AUTORADIOBUTTON;
    QObject::connect(button, &QAbstractButton::clicked, button, [button, manual, autoRadio](bool checked) {
        if (manual && button->isCheckable()) {
            QSignalBlocker quiet(button);
            button->setChecked(!checked);
        } else if (autoRadio) {
            button->setChecked(true);
            QWidget* parent = button->parentWidget();
            QVariant group = button->property(radioGroupProperty);
            for (QObject* object : parent->children()) {
                auto* other = qobject_cast<QRadioButton*>(object);
                if (other && other != button && other->property(radioGroupProperty) == group)
                    other->setChecked(false);
            }
        }
        notifyParent(button, BN_CLICKED);
    });
}

QWidget* makeButton(const ControlParameters& params, QWidget* parent)
{
    DWORD kind = params.style & BS_TYPEMASK;
    QAbstractButton* button = nullptr;
    switch (kind) {
    case BS_GROUPBOX: {
        auto* group = new QGroupBox(parent);
        group->setFocusPolicy(Qt::NoFocus);
        return group;
    }
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        if (params.style & BS_PUSHLIKE) {
            button = new QPushButton(parent);
            button->setCheckable(true);
        } else {
            auto* check = new QCheckBox(parent);
            check->setTristate(kind == BS_3STATE || kind == BS_AUTO3STATE);
            button = check;
        }
        break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        if (params.style & BS_PUSHLIKE) {
            button = new QPushButton(parent);
            button->setCheckable(true);
        } else {
            button = new QRadioButton(parent);
        }
        // Grouping follows WS_GROUP, not the parent.
        button->setAutoExclusive(false);
        break;
    }
    default: {
        auto* push = new QPushButton(parent);
        push->setDefault(kind == BS_DEFPUSHBUTTON);
        button = push;
        break;
    }
    }
    wireButton(button, params.style);
    return button;
}

QWidget* makeStatic(const ControlParameters& params, QWidget* parent)
{
    DWORD kind = params.style & SS_TYPEMASK;
    auto frame = [&](QFrame::Shape shape, QFrame::Shadow shadow) {
        auto* line = new QFrame(parent);
        line->setFrameShape(shape);
        line->setFrameShadow(shadow);
        return line;
    };
    switch (kind) {
    case SS_ETCHEDHORZ:
        return frame(QFrame::HLine, QFrame::Sunken);
    case SS_ETCHEDVERT:
        return frame(QFrame::VLine, QFrame::Sunken);
    case SS_ETCHEDFRAME:
        return frame(QFrame::Box, QFrame::Sunken);
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
        return frame(QFrame::Box, QFrame::Plain);
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT: {
        auto* rect = frame(QFrame::NoFrame, QFrame::Plain);
        rect->setAutoFillBackground(true);
        QPalette colours = rect->palette();
        colours.setColor(QPalette::Window, kind == SS_BLACKRECT ? Qt::black : kind == SS_GRAYRECT ? Qt::gray : Qt::white);
        rect->setPalette(colours);
        return rect;
    }
    default:
        break;
    }
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    if (kind == SS_BITMAP) {
        // The text "#<id>" names the bitmap resource the picture starts with.
        bool isNumber = false;
        int bitmapId = params.text.startsWith(QLatin1Char('#')) ? params.text.mid(1).toInt(&isNumber) : 0;
        QImage image = isNumber ? loadBitmapImage(bitmapId) : QImage();
        if (!image.isNull())
            label->setPixmap(QPixmap::fromImage(image));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        label->setProperty("tavoPicture", true);
        return label;
    }
    Qt::Alignment vertical = (params.style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
    if (kind == SS_CENTER)
        label->setAlignment(Qt::AlignHCenter | vertical);
    else if (kind == SS_RIGHT)
        label->setAlignment(Qt::AlignRight | vertical);
    else
        label->setAlignment(Qt::AlignLeft | vertical);
    label->setWordWrap(kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT);
    if (params.style & SS_SUNKEN) {
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
    } else if (params.style & WS_BORDER) {
        label->setFrameShape(QFrame::Box);
    }
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

bool isEditField(const QWidget* control)
{
    return qobject_cast<const QLineEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control);
}

bool isReadOnlyField(const QWidget* control)
{
    if (auto* line = qobject_cast<const QLineEdit*>(control))
        return line->isReadOnly();
    if (auto* text = qobject_cast<const QPlainTextEdit*>(control))
        return text->isReadOnly();
    return false;
}

// A read-only field shows the dialog's colour behind its text; one that
// takes typing shows the colour its parent gives fields.
void showReadOnlyLook(QWidget* field)
{
    QPalette palette = field->palette();
    if (isReadOnlyField(field)) {
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    } else {
        const QPalette inherited = field->parentWidget() ? field->parentWidget()->palette() : QApplication::palette();
        for (auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
            palette.setBrush(group, QPalette::Base, inherited.brush(group, QPalette::Base));
    }
    field->setPalette(palette);
}

// Keeps a field's look in step with its read-only state, however that state
// changes after the dialog was built (an editor locking a name, say).
class ReadOnlyLook : public QObject {
public:
    explicit ReadOnlyLook(QWidget* field)
        : QObject(field)
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ReadOnlyChange)
            if (auto* field = qobject_cast<QWidget*>(watched))
                showReadOnlyLook(field);
        return false;
    }
};

QWidget* makeEdit(const ControlParameters& params, QWidget* parent)
{
    bool framed = (params.style & WS_BORDER) || (params.exStyle & WS_EX_CLIENTEDGE);
    if (params.style & ES_MULTILINE) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly(params.style & ES_READONLY);
        edit->setLineWrapMode((params.style & (ES_AUTOHSCROLL | WS_HSCROLL)) ? QPlainTextEdit::NoWrap
                                                                            : QPlainTextEdit::WidgetWidth);
        if (!framed)
            edit->setFrameShape(QFrame::NoFrame);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] { notifyParent(edit, EN_CHANGE); });
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setFrame(framed);
    edit->setReadOnly(params.style & ES_READONLY);
    if (params.style & ES_PASSWORD)
        edit->setEchoMode(QLineEdit::Password);
    if (params.style & ES_NUMBER)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    DWORD align = params.style & 3;
    edit->setAlignment((align == ES_CENTER ? Qt::AlignHCenter : align == ES_RIGHT ? Qt::AlignRight : Qt::AlignLeft)
                       | Qt::AlignVCenter);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { notifyParent(edit, EN_CHANGE); });
    return edit;
}

QWidget* makeComboBox(const ControlParameters& params, QWidget* parent)
{
    auto* combo = new ComboBox(params.style, parent);
    QObject::connect(combo, &QComboBox::activated, combo, [combo] { notifyParent(combo, CBN_SELCHANGE); });
    if (combo->lineEdit())
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                         [combo] { notifyParent(combo, CBN_EDITCHANGE); });
    return combo;
}

void wireList(ListBox* list, DWORD style)
{
    if (!(style & LBS_NOTIFY))
        return;
    QObject::connect(list, &ListBox::userSelectionChanged, list, [list] { notifyParent(list, LBN_SELCHANGE); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [list] { notifyParent(list, LBN_DBLCLK); });
}

QWidget* makeListBox(const ControlParameters& params, QWidget* parent)
{
    auto* list = new ListBox(params.style, parent);
    wireList(list, params.style);
    return list;
}

QWidget* makeCheckListBox(const ControlParameters& params, QWidget* parent)
{
    auto* list = new CheckListBox(params.style, parent);
    wireList(list, params.style);
    QObject::connect(list, &CheckListBox::userCheckChanged, list, [list] { notifyParent(list, CLBN_CHKCHANGE); });
    return list;
}

QWidget* makeScrollBar(const ControlParameters& params, QWidget* parent)
{
    return new QScrollBar((params.style & 1) ? Qt::Vertical : Qt::Horizontal, parent);
}

// A list view: a report (a list of rows with columns) or a list of icons.
// Either reports a double click and every change of its selection.
QWidget* makeListView(const ControlParameters& params, QWidget* parent)
{
    const auto selection = (params.style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                          : QAbstractItemView::ExtendedSelection;
    const auto scrollBars = (params.style & LVS_NOSCROLL) ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    if ((params.style & LVS_TYPEMASK) == LVS_REPORT) {
        auto* report = new QTreeWidget(parent);
        report->setRootIsDecorated(false);
        report->setUniformRowHeights(true);
        report->setSelectionMode(selection);
        report->setColumnCount(0);
        report->setHeaderHidden(params.style & LVS_NOCOLUMNHEADER);
        report->header()->setSectionsClickable(!(params.style & LVS_NOSORTHEADER));
        report->header()->setSectionsMovable(false);
        report->header()->setStretchLastSection(false);
        report->setHorizontalScrollBarPolicy(scrollBars);
        report->setVerticalScrollBarPolicy(scrollBars);
        QObject::connect(report, &QTreeWidget::itemDoubleClicked, report, [report] { notifyParent(report, NM_DBLCLK); });
        QObject::connect(report, &QTreeWidget::itemSelectionChanged, report,
                         [report] { notifyParent(report, LVN_ITEMCHANGED); });
        return report;
    }
    auto* icons = new QListWidget(parent);
    icons->setViewMode(QListView::IconMode);
    icons->setMovement(QListView::Static);
    icons->setResizeMode(QListView::Adjust);
    icons->setSelectionMode(selection);
    icons->setHorizontalScrollBarPolicy(scrollBars);
    icons->setVerticalScrollBarPolicy(scrollBars);
    QObject::connect(icons, &QListWidget::itemDoubleClicked, icons, [icons] { notifyParent(icons, NM_DBLCLK); });
    QObject::connect(icons, &QListWidget::itemSelectionChanged, icons, [icons] { notifyParent(icons, LVN_ITEMCHANGED); });
    return icons;
}

QWidget* makeAnimation(const ControlParameters&, QWidget* parent) { return new AnimateControl(parent); }

// A progress bar: range 0 to 100 and no text of its own until its owner says otherwise.
QWidget* makeProgressBar(const ControlParameters&, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setFocusPolicy(Qt::NoFocus);
    return bar;
}

ControlFactory builtInClass(const std::string& name)
{
    static const std::map<std::string, ControlFactory> classes = {
        { "button", makeButton },       { "static", makeStatic },     { "edit", makeEdit },
        { "combobox", makeComboBox },   { "listbox", makeListBox },   { "checklistbox", makeCheckListBox },
        { "scrollbar", makeScrollBar }, { "sysanimate32", makeAnimation },
        { "syslistview32", makeListView }, { "msctls_progress32", makeProgressBar },
    };
    auto it = classes.find(lowerCase(name));
    return it == classes.end() ? ControlFactory {} : it->second;
}

} // namespace

void registerControlClass(const std::string& name, ControlFactory factory)
{
    customClasses()[lowerCase(name)] = std::move(factory);
}

void unregisterControlClass(const std::string& name) { customClasses().erase(lowerCase(name)); }

void notifyParent(QWidget* control, int code)
{
    if (auto* dialog = owningDialog(control))
        dialog->sendCommand(controlId(control), code);
}

Dialog::Dialog(QWidget* parent)
    : QDialog(parent)
{
}

bool Dialog::create(int templateId, QWidget* parent)
{
    resourceId = templateId;
    Resource found = findResource(RT_DIALOG, templateId);
    if (!found.data) {
        error = "no dialog template " + std::to_string(templateId);
        return false;
    }
    return createIndirect(found.data, found.size, parent);
}

bool Dialog::createIndirect(const unsigned char* data, std::size_t size, QWidget* parent)
{
    if (created) {
        error = "the dialog exists already";
        return false;
    }
    if (!build(data, size, parent))
        return false;
    created = true;
    if (onInitDialog()) {
        if (QWidget* first = nextDlgTabItem(this, nullptr))
            first->setFocus(Qt::OtherFocusReason);
    }
    // A window of its own with WS_VISIBLE appears once it is set up (modeless dialogs).
    if (isWindow() && (templateStyle & WS_VISIBLE))
        show();
    return true;
}

bool Dialog::build(const unsigned char* data, std::size_t size, QWidget* parent)
{
    // Without a parent given, the one the dialog was constructed with stays.
    if (!parent)
        parent = parentWidget();
    auto parsed = parseDialogTemplate(data, size);
    if (!parsed) {
        error = "not a dialog template";
        return false;
    }
    const DWORD style = parsed->style;
    templateStyle = style;
    const bool child = style & (WS_CHILD | DS_CONTROL);

    if (child) {
        setParent(parent, Qt::Widget);
    } else {
        Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
        if ((style & WS_CAPTION) == WS_CAPTION)
            flags |= Qt::WindowTitleHint;
        else
            flags |= Qt::FramelessWindowHint;
        if (style & WS_SYSMENU)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & WS_MINIMIZEBOX)
            flags |= Qt::WindowMinimizeButtonHint;
        if (style & WS_MAXIMIZEBOX)
            flags |= Qt::WindowMaximizeButtonHint;
        if (parsed->exStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
        setParent(parent, flags);
    }

    if (parsed->hasFont) {
        QString face = QString::fromStdU16String(parsed->face);
        setFont(templateFont(face, parsed->pointSize, parsed->weight, parsed->italic));
        units = dialogBaseUnits(face, parsed->pointSize);
    } else {
        units = systemDialogBaseUnits();
    }
    auto pixelsX = [&](int value) { return MulDiv(value, units.cx, 4); };
    auto pixelsY = [&](int value) { return MulDiv(value, units.cy, 8); };

    setWindowClassName(this, dialogClassName);
    setWindowExStyle(this, parsed->exStyle);
    setWindowText(this, QString::fromStdU16String(parsed->caption));

    std::vector<QWidget*> tabOrder;
    std::vector<QWidget*> made;
    int radioGroup = 0;
    for (const TemplateControl& item : parsed->controls) {
        ControlParameters params;
        params.id = static_cast<int>(item.id);
        params.className = controlClassName(item.windowClass);
        params.text = item.text.isOrdinal ? QString() : QString::fromStdU16String(item.text.text);
        params.style = item.style;
        params.exStyle = item.exStyle;
        params.rect = QRect(pixelsX(item.x), pixelsY(item.y), pixelsX(item.cx), pixelsY(item.cy));
        params.creationData = item.creationData;

        ControlFactory factory = builtInClass(params.className);
        if (!factory) {
            auto custom = customClasses().find(lowerCase(params.className));
            if (custom != customClasses().end())
                factory = custom->second;
        }
        QWidget* control = factory ? factory(params, this) : nullptr;
        if (!control) {
            if (style & DS_NOFAILCREATE)
                continue;
            error = "cannot create control " + std::to_string(params.id) + " of class \"" + params.className + "\"";
            for (QWidget* control : made)
                delete control;
            return false;
        }
        if (control->parentWidget() != this)
            control->setParent(this);

        if (item.style & WS_GROUP)
            ++radioGroup;
        control->setProperty(radioGroupProperty, radioGroup);
        setControlId(control, params.id);
        setWindowClassName(control, params.className);
        setWindowExStyle(control, params.exStyle);
        DWORD style = params.style;
        if (isEditField(control)) {
            // Shown as what it is: a read-only field has the dialog's colour
            // behind its text and no stop for the Tab key; a click still puts
            // the caret in it for selecting and copying.
            if (isReadOnlyField(control)) {
                style &= ~WS_TABSTOP;
                showReadOnlyLook(control);
            }
            new ReadOnlyLook(control);
        }
        if (!(style & WS_TABSTOP) && control->focusPolicy() != Qt::NoFocus)
            control->setFocusPolicy(Qt::ClickFocus);
        setWindowStyle(control, style);

        QRect rect = params.rect;
        // A drop-down combo box is as high as its field; the template's height is that of the open list.
        if (qobject_cast<ComboBox*>(control) && (params.style & 3) != CBS_SIMPLE)
            rect.setHeight(control->sizeHint().height());
        control->setGeometry(rect);
        {
            QSignalBlocker quiet(control);
            setWindowText(control, params.text);
        }
        made.push_back(control);
        if (windowStyle(control) & WS_TABSTOP)
            tabOrder.push_back(control);
    }
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    QSize client(pixelsX(parsed->cx), pixelsY(parsed->cy));
    if (!child && !(style & WS_THICKFRAME))
        setFixedSize(client);
    else
        resize(client);

    QPoint position(pixelsX(parsed->x), pixelsY(parsed->y));
    if (child) {
        move(position);
    } else if (style & DS_CENTER) {
        QRect area = parent ? parent->window()->frameGeometry()
                            : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                : QRect(0, 0, client.width(), client.height()));
        move(area.center() - QPoint(client.width() / 2, client.height() / 2));
    } else if (parent && !(style & DS_ABSALIGN)) {
        move(parent->mapToGlobal(QPoint(0, 0)) + position);
    } else {
        move(position);
    }
    templatePosition.reset();
    if (!child)
        templatePosition = pos();
    // A child dialog with WS_VISIBLE shows with its parent; a window of its own waits to be shown.
    setWindowStyle(this, style);
    return true;
}

void Dialog::destroyWindow()
{
    if (!created)
        return;
    hide();
    const auto controls = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls)
        delete control;
    setParent(nullptr);
    created = false;
    error.clear();
}

int Dialog::doModal()
{
    if (!created)
        return -1;
    // A dialog already shown (WS_VISIBLE) would run its loop without
    // becoming modal; hiding it first lets exec() show it modally.
    if (isVisible())
        hide();
    // Placed by the template, which knows neither the owner's place nor the
    // size the dialog has grown to since: it goes over the middle of its owner.
    if (templatePosition && pos() == *templatePosition) {
        QWidget* owner = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
        if (owner == this)
            owner = nullptr;
        QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect();
        const QRect over = owner ? owner->frameGeometry() : area;
        const QSize outer = frameGeometry().size();
        QPoint place = over.center() - QPoint(outer.width() / 2, outer.height() / 2);
        if (area.isValid()) {
            place.setX(std::max(area.left(), std::min(place.x(), area.right() + 1 - outer.width())));
            place.setY(std::max(area.top(), std::min(place.y(), area.bottom() + 1 - outer.height())));
        }
        move(place);
        templatePosition = pos();
    }
    return exec();
}

void Dialog::endDialog(int result) { done(result); }

RECT Dialog::mapDialogRect(const RECT& dialogUnits) const { return platform::mapDialogRect(dialogUnits, units); }

void Dialog::sendCommand(int id, int code)
{
    Q_EMIT command(id, code);
    onCommand(id, code);
}

void Dialog::reject() { sendCommand(IDCANCEL, BN_CLICKED); }

bool Dialog::onCommand(int id, int code)
{
    if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL)) {
        endDialog(id);
        return true;
    }
    return false;
}

} // namespace platform
