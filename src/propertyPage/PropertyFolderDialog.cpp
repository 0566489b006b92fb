#include "propertyPage/PropertyFolderDialog.h"

#include "gettext/TranslateWindow.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/Window.h"
#include "ui/Bitmaps.h"
#include "ui/ControlGroup.h"
#include "ui/QtWindows.h"

#include <QApplication>
#include <QLabel>
#include <QResizeEvent>
#include <QStyle>

namespace {

constexpr int defaultTemplate = 2001;
constexpr int defaultTab = 25501;
constexpr int defaultPicture = 25502;
constexpr int defaultPageArea = 25503;
constexpr int defaultHelp = 25504;
constexpr int gripId = 0xFFFF;

QRect pageArea(const QWidget* folder, int pageAreaId)
{
    QWidget* area = platform::dlgItem(folder, pageAreaId);
    return area ? area->geometry() : QRect();
}

} // namespace

// ---- SizeGrip ----

RECT SizeGrip::gripRect(const QWidget* window)
{
    const int cx = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int cy = cx;
    return RECT { window->width() - cx, window->height() - cy, window->width(), window->height() };
}

bool SizeGrip::create(QWidget* parent)
{
    if (!parent)
        return false;
    setParent(parent);
    platform::setControlId(this, gripId);
    setGeometry(toQRect(gripRect(parent)));
    QWidget::show();
    raise();
    return true;
}

void SizeGrip::reposition()
{
    if (!parentWidget())
        return;
    setGeometry(toQRect(gripRect(parentWidget())));
    raise();
}

// ---- PropertyFolderDialog ----

PropertyFolderDialog::PropertyFolderDialog(PropertyFolderInterface* provider, const QIcon& icon)
    : setup { 0, defaultTemplate, defaultTab, defaultPicture, defaultPageArea, defaultHelp, provider, icon }
{
}

PropertyFolderDialog::PropertyFolderDialog() = default;

PropertyFolderDialog::~PropertyFolderDialog()
{
    destroyFolder();
    delete layout;
}

bool PropertyFolderDialog::show(QWidget* parent, bool runModally)
{
    modal = runModally;
    if (!runModally)
        return create(setup.templateId, parent);
    if (!create(setup.templateId, parent))
        return false;
    doModal();
    destroyFolder();
    return true;
}

QString PropertyFolderDialog::tabText(const DialogTemplateEditor& page, int index) const
{
    const std::wstring caption = page.getCaption();
    if (caption.empty())
        return QString::fromStdWString(setup.provider->getTitle(index));
    if (caption[0] == L'\u00A4') {
        std::string rest = platform::qStringToAnsi(QString::fromStdWString(caption.substr(1)));
        return QString::fromStdWString(translate(rest.c_str()));
    }
    return QString::fromStdWString(caption);
}

bool PropertyFolderDialog::onInitDialog()
{
    initialised = false;
    currentPage = nullptr;
    currentIndex = -1;
    ok = false;
    displayed = true;
    if (setup.provider)
        setup.provider->startDisplay(this);

    const bool result = platform::Dialog::onInitDialog();
    translateWindow(this);
    if (!setup.icon.isNull())
        setWindowIcon(setup.icon);

    if (QWidget* placeholder = platform::dlgItem(this, setup.tabId)) {
        RECT place = toRECT(placeholder->geometry());
        placeholder->hide();
        delete placeholder;
        tabCtrl.create(WS_CHILD | WS_VISIBLE, place, this, static_cast<UINT>(setup.tabId));
        tabCtrl.show();
        tabCtrl.lower();
    }

    pageTemplates.clear();
    const QRect area = pageArea(this, setup.pageAreaId);
    QSize maxSize = area.size();
    const int pages = setup.provider ? setup.provider->getSize() : 0;
    for (int i = 0; i < pages; ++i) {
        DialogTemplateEditor page(setup.provider->getTemplateId(i));
        page.setStyle((page.getStyle() & DS_SETFONT) | WS_CHILD | DS_CONTROL);
        tabCtrl.addTab(tabText(page, i));
        SIZE units = page.getSize();
        POINT pixels = page.toPixels(units.cx, units.cy);
        maxSize = maxSize.expandedTo(QSize(pixels.x, pixels.y));
        pageTemplates.push_back(page);
    }

    LayoutItemHandle made = makeLayout();
    delete layout;
    layout = made ? made->clone() : nullptr;
    if (layout)
        layout->init(toRECT(rect()));

    const int growW = maxSize.width() - area.width();
    const int growH = maxSize.height() - area.height();
    if (growW > 0 || growH > 0) {
        const QSize grown(width() + std::max(growW, 0), height() + std::max(growH, 0));
        if (layout)
            layout->setRect(RECT { 0, 0, grown.width(), grown.height() });
        resize(grown);
    }
    minWidth = width();
    minHeight = height();
    setMinimumSize(minWidth, minHeight);

    sizeGrip.create(this);
    sizeGrip.setVisible(showGrip);

    initialised = true;
    tabCtrl.select(setup.firstPage);
    return result;
}

LayoutItemHandle PropertyFolderDialog::makeLayout()
{
    WindowHandle self = handleOf(this);
    HorizontalBox inner;
    if (setup.bitmapId != -1)
        inner.add(0, makeControlGroup(self, setup.bitmapId), 0.0);
    inner.add(1, makeControlGroup(self, setup.pageAreaId), 0.0);
    FramedItem framed;
    framed.setOuter(makeControlGroup(self, setup.tabId));
    framed.setInner(inner);

    HorizontalBox buttons;
    buttons.add(1, makeSpacer(0, 0), 0.0);
    std::vector<WindowHandle> buttonWindows;
    for (int id : { int(IDOK), int(IDCANCEL), setup.helpId })
        if (id != -1)
            if (QWidget* button = platform::dlgItem(this, id))
                buttonWindows.push_back(handleOf(button));
    buttons.add(0, makeControlGroupFromWindows(buttonWindows), 0.0);

    VerticalBox all;
    all.add(1, framed, 0.0);
    all.add(0, buttons, 0.0);
    return all;
}

bool PropertyFolderDialog::selectPage(int index)
{
    if (index == currentIndex)
        return true;
    if (!setup.provider || index < 0 || index >= static_cast<int>(pageTemplates.size()))
        return false;
    if (currentPage && !setup.provider->leavePage(currentIndex))
        return false;
    platform::Dialog* oldPage = currentPage;
    currentIndex = index;
    currentPage = setup.provider->getPage(index);
    if (!currentPage)
        return false;

    DialogTemplateEditor& page = pageTemplates[static_cast<std::size_t>(index)];
    const QRect area = pageArea(this, setup.pageAreaId);
    POINT units = page.toDialogUnits(area.x(), area.y());
    page.setPosition(units.x, units.y);
    if (currentPage == oldPage)
        currentPage->destroyWindow();
    currentPage->createIndirect(page.data(), page.size(), this);
    sizeGrip.raise();
    translateWindow(currentPage);
    currentPage->resize(area.size());
    setup.provider->activatePage(index);

    if (setup.bitmapId != -1) {
        const int pictureId = setup.provider->getBitmapId(index);
        auto* picture = qobject_cast<QLabel*>(platform::dlgItem(this, setup.bitmapId));
        if (pictureId != -1 && picture) {
            QImage image = platform::loadBitmapImage(pictureId);
            if (!image.isNull())
                picture->setPixmap(QPixmap::fromImage(image));
        }
    }
    currentPage->show();

    if (oldPage && oldPage != currentPage) {
        oldPage->destroyWindow();
        tabCtrl.select(index);
    }
    return true;
}

void PropertyFolderDialog::setShowGrip(bool show)
{
    showGrip = show;
    if (initialised)
        sizeGrip.setVisible(show);
}

int PropertyFolderDialog::onTabNotify(FlatTabCtrl* control, int code, int, int)
{
    if (code != FlatTabCtrl::TCN_SELCHANGING || platform::controlId(control) != setup.tabId)
        return 0;
    const int selected = control->getCurSel();
    if (selected >= 0 && selected != currentIndex && !selectPage(selected))
        return 1;
    return 0;
}

void PropertyFolderDialog::fitPageToArea()
{
    if (currentPage)
        currentPage->resize(pageArea(this, setup.pageAreaId).size());
}

void PropertyFolderDialog::resizeEvent(QResizeEvent* event)
{
    platform::Dialog::resizeEvent(event);
    if (!initialised)
        return;
    if (layout)
        layout->setRect(RECT { 0, 0, event->size().width(), event->size().height() });
    fitPageToArea();
    sizeGrip.reposition();
}

bool PropertyFolderDialog::onCommand(int id, int code)
{
    if (code == BN_CLICKED && setup.helpId != -1 && id == setup.helpId) {
        if (setup.provider)
            setup.provider->showHelp(currentIndex);
        return true;
    }
    if (code == BN_CLICKED && id == IDOK) {
        onOK();
        return true;
    }
    if (code == BN_CLICKED && id == IDCANCEL) {
        onCancel();
        return true;
    }
    return platform::Dialog::onCommand(id, code);
}

void PropertyFolderDialog::onOK()
{
    if (setup.provider && !setup.provider->validateCurrentPage())
        return;
    ok = true;
    endDialog(IDOK);
    if (!modal)
        destroyFolder();
}

void PropertyFolderDialog::onCancel()
{
    endDialog(IDCANCEL);
    if (!modal)
        destroyFolder();
}

void PropertyFolderDialog::destroyFolder()
{
    if (!displayed)
        return;
    displayed = false;
    if (setup.provider)
        setup.provider->endDisplay(!ok);
    initialised = false;
    if (currentPage)
        currentPage->destroyWindow();
    currentPage = nullptr;
    currentIndex = -1;
    hide();
}
