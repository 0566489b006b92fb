#pragma once
// A tabbed dialog of pages: flat tabs at the top, the current page below
// them (created from its template when its tab is chosen, destroyed when
// another is), an optional picture that changes with the page, OK, Cancel and
// Help, and a size grip. It opens large enough for its largest page and can
// never be made smaller. What the pages edit and when a page may be left is
// the provider's business.
#include "platformqt/Dialog.h"
#include "ui/FlatTabCtrl.h"
#include "ui/LayoutItem.h"
#include "Utillib/DialogTemplateEditor.h"

#include <QIcon>
#include <QSizeGrip>

#include <string>
#include <vector>

class PropertyFolderDialog;

class PropertyFolderInterface {
public:
    virtual ~PropertyFolderInterface() = default;
    // The page has just been shown.
    virtual void activatePage(int page) = 0;
    virtual void loadPageDefaults(int page) = 0;
    // Checks and takes over the page's values before another page is shown;
    // false keeps the page.
    virtual bool leavePage(int page) = 0;
    // leavePage of the current page, or true when none is shown.
    virtual bool validateCurrentPage() = 0;
    virtual void apply() = 0;
    virtual bool isModified() = 0;
    virtual int getSize() = 0;
    // The page object, owned by the provider; the folder creates and destroys its window.
    virtual platform::Dialog* getPage(int page) = 0;
    virtual int getTemplateId(int page) = 0;
    // The page's picture resource, -1 for none.
    virtual int getBitmapId(int page) = 0;
    // The tab text when the page's template has no caption.
    virtual std::wstring getTitle(int page) = 0;
    virtual void showHelp(int page) = 0;
    // The folder's window is being created.
    virtual void startDisplay(PropertyFolderDialog* folder) = 0;
    // The folder's window is being destroyed; cancelled unless OK passed validation.
    virtual void endDisplay(bool cancelled) = 0;
};

struct PropertyFolderSetup {
    int firstPage = 0;
    int templateId = -1;
    int tabId = -1;      // the placeholder the tab control replaces
    int bitmapId = -1;   // the picture control, -1 for none
    int pageAreaId = -1; // the control that marks the page area
    int helpId = -1;     // the Help button, -1 for none
    PropertyFolderInterface* provider = nullptr; // not owned
    QIcon icon;
};

// A grip in the bottom-right corner of its parent that resizes the parent.
class SizeGrip : public QSizeGrip {
public:
    SizeGrip() : QSizeGrip(nullptr) { }
    // False when there is no parent.
    bool create(QWidget* parent);
    // Back to the parent's bottom-right corner, above its siblings.
    void reposition();
    // The grip's place in a window: as large as a scroll bar's arrow.
    static RECT gripRect(const QWidget* window);
};

class PropertyFolderDialog : public platform::Dialog, public FlatTabListener {
public:
    // The folder of template 2001 over the provider.
    PropertyFolderDialog(PropertyFolderInterface* provider, const QIcon& icon);
    PropertyFolderDialog();
    ~PropertyFolderDialog() override;

    void configure(const PropertyFolderSetup& newSetup) { setup = newSetup; }
    // Modeless: true when the window was created; modal: runs it and true
    // unless it could not be created.
    bool show(QWidget* parent, bool modal);
    // Shows the page: true when it is shown now, false when the current page
    // refuses to be left.
    bool selectPage(int index);
    void setShowGrip(bool show);
    // The layout of the folder; a derived folder may lay itself out otherwise.
    virtual LayoutItemHandle makeLayout();

    int onTabNotify(FlatTabCtrl* control, int code, int key, int flags) override;

    int getCurrentIndex() const { return currentIndex; }
    platform::Dialog* getCurrentPage() const { return currentPage; }
    FlatTabCtrl& getTabCtrl() { return tabCtrl; }
    SIZE getMinimumSize() const { return SIZE { minWidth, minHeight }; }

    PropertyFolderSetup setup;
    std::vector<DialogTemplateEditor> pageTemplates;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void resizeEvent(QResizeEvent* event) override;
    virtual void onOK();
    virtual void onCancel();

private:
    // The window goes: the provider hears of it and the page window goes too.
    void destroyFolder();
    void fitPageToArea();
    QString tabText(const DialogTemplateEditor& page, int index) const;

    FlatTabCtrl tabCtrl;
    SizeGrip sizeGrip;
    platform::Dialog* currentPage = nullptr;
    int currentIndex = -1;
    bool showGrip = true;
    bool initialised = false;
    bool displayed = false;
    bool modal = false;
    bool ok = false;
    int minWidth = 0;
    int minHeight = 0;
    LayoutItem* layout = nullptr;
};
