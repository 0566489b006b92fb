// The property folder over a provider that records what it is asked: pages
// switch only when the shown page may be left, the folder grows to its
// largest page, and OK, Cancel and Help reach the provider.
#include "propertyPage/PropertyFolderDialog.h"

#include "platform/DialogTemplate.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace platform;

constexpr int pageGeneral = 9300;
constexpr int pageLarge = 9301;
constexpr int pageUntitled = 9302;
constexpr int IDC_FIELD = 1000;

void registerPages()
{
    res::registerResources();
    const DWORD style = DS_SETFONT | WS_CHILD | WS_VISIBLE | WS_CAPTION;
    registerDialog(DialogTable { pageGeneral, "¤General", style, 0, 0, 120, 60, "DejaVu Sans", 8,
                                 { { IDC_FIELD, "Edit", "general", WS_VISIBLE | WS_TABSTOP | WS_BORDER, 7, 7, 100, 12 } } });
    // Larger than the folder's page area in both directions.
    registerDialog(DialogTable { pageLarge, "Graph", style, 0, 0, 280, 190, "DejaVu Sans", 8,
                                 { { IDC_FIELD, "Static", "large", WS_VISIBLE, 7, 7, 100, 8 } } });
    registerDialog(DialogTable { pageUntitled, "", style, 0, 0, 100, 40, "DejaVu Sans", 8,
                                 { { IDC_FIELD, "Edit", "", WS_VISIBLE | WS_TABSTOP | WS_BORDER, 7, 7, 60, 12 } } });
}

class Provider : public PropertyFolderInterface {
public:
    void activatePage(int page) override { calls.push_back("activate " + std::to_string(page)); }
    void loadPageDefaults(int) override { }
    bool leavePage(int page) override
    {
        calls.push_back("leave " + std::to_string(page));
        return page != refusingPage;
    }
    bool validateCurrentPage() override
    {
        calls.push_back("validate");
        return folder->getCurrentIndex() < 0 || leavePage(folder->getCurrentIndex());
    }
    void apply() override { }
    bool isModified() override { return false; }
    int getSize() override { return 3; }
    Dialog* getPage(int page) override { return &pages[page]; }
    int getTemplateId(int page) override { return pageGeneral + page; }
    int getBitmapId(int page) override { return page == 1 ? IDB_FIRST : -1; }
    std::wstring getTitle(int page) override { return L"Untitled " + std::to_wstring(page); }
    void showHelp(int page) override { calls.push_back("help " + std::to_string(page)); }
    void startDisplay(PropertyFolderDialog* shown) override
    {
        folder = shown;
        calls.push_back("start");
    }
    void endDisplay(bool cancelled) override { calls.push_back(cancelled ? "end cancelled" : "end ok"); }

    std::vector<std::string> calls;
    Dialog pages[3];
    PropertyFolderDialog* folder = nullptr;
    int refusingPage = -1;
};

bool contains(const std::vector<std::string>& calls, const std::string& call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

TEST(PropertyFolderDialog, PagesTabsAndSize)
{
    registerPages();
    Provider provider;
    PropertyFolderDialog folder(&provider, QIcon());
    ASSERT_TRUE(folder.show(nullptr, false));
    EXPECT_EQ(provider.calls, (std::vector<std::string> { "start", "activate 0" }));

    FlatTabCtrl& tabs = folder.getTabCtrl();
    ASSERT_EQ(tabs.getCount(), 3);
    EXPECT_EQ(tabs.getTab(0)->text, "General");      // marked: translated without the marker
    EXPECT_EQ(tabs.getTab(1)->text, "Graph");        // unmarked: as it stands
    EXPECT_EQ(tabs.getTab(2)->text, "Untitled 2");   // no caption: the provider's title
    EXPECT_EQ(dlgItem(&folder, IDC_FOLDER_TABS), &tabs);
    EXPECT_EQ(tabs.getCurSel(), 0);

    // The page lies in the page area, as large as it.
    QWidget* area = dlgItem(&folder, IDC_FOLDER_PAGE_AREA);
    Dialog* page = folder.getCurrentPage();
    ASSERT_EQ(page, &provider.pages[0]);
    EXPECT_EQ(page->parentWidget(), &folder);
    EXPECT_EQ(page->geometry(), area->geometry());
    EXPECT_TRUE(page->isVisible());

    // Opened large enough for the largest page, and never smaller.
    QSize largest(MulDiv(280, page->baseUnits().cx, 4), MulDiv(190, page->baseUnits().cy, 8));
    // (the layout scales the area's rectangle, which may cost a pixel)
    EXPECT_NEAR(area->width(), largest.width(), 1);
    EXPECT_NEAR(area->height(), largest.height(), 1);
    EXPECT_EQ(folder.minimumSize(), folder.size());

    // Growing the folder grows the page with its area.
    folder.resize(folder.width() + 40, folder.height() + 30);
    EXPECT_NEAR(area->width(), largest.width() + 40, 1);
    EXPECT_EQ(page->size(), area->size());

    // The tab switches the page; the old page's window is gone.
    provider.calls.clear();
    EXPECT_TRUE(tabs.select(1));
    EXPECT_EQ(provider.calls, (std::vector<std::string> { "leave 0", "activate 1" }));
    EXPECT_EQ(folder.getCurrentIndex(), 1);
    EXPECT_FALSE(provider.pages[0].isCreated());
    EXPECT_EQ(dlgItem(&folder, IDC_FIELD), nullptr);
    EXPECT_TRUE(provider.pages[1].isCreated());
    auto* picture = qobject_cast<QLabel*>(dlgItem(&folder, IDC_FOLDER_PICTURE));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().width(), 20); // the page's own picture

    // A page that refuses to be left keeps its tab, and OK stays open on it.
    provider.refusingPage = 1;
    provider.calls.clear();
    EXPECT_FALSE(tabs.select(2));
    EXPECT_EQ(tabs.getCurSel(), 1);
    EXPECT_FALSE(folder.selectPage(0));
    EXPECT_EQ(folder.getCurrentIndex(), 1);
    folder.sendCommand(IDOK, BN_CLICKED);
    EXPECT_TRUE(folder.isVisible());
    EXPECT_FALSE(contains(provider.calls, "end ok"));

    folder.sendCommand(IDC_FOLDER_HELP, BN_CLICKED);
    EXPECT_EQ(provider.calls.back(), "help 1");

    provider.refusingPage = -1;
    EXPECT_TRUE(folder.selectPage(2));
    EXPECT_EQ(tabs.getCurSel(), 2); // the tabs follow a page chosen by the program
    EXPECT_EQ(picture->pixmap().width(), 20); // a page without a picture keeps the last one
    folder.grab().save(QStringLiteral(SCREENSHOT_DIR "/property-folder-untitled.png"));
    EXPECT_TRUE(folder.selectPage(0));
    folder.grab().save(QStringLiteral(SCREENSHOT_DIR "/property-folder-general.png"));

    provider.calls.clear();
    folder.sendCommand(IDOK, BN_CLICKED);
    EXPECT_EQ(provider.calls, (std::vector<std::string> { "validate", "leave 0", "end ok" }));
    EXPECT_FALSE(folder.isVisible());
    EXPECT_FALSE(provider.pages[0].isCreated());
}

TEST(PropertyFolderDialog, CancelAndTheCloseBoxEndCancelled)
{
    registerPages();
    for (bool closeBox : { false, true }) {
        Provider provider;
        PropertyFolderDialog folder(&provider, QIcon());
        PropertyFolderSetup setup = folder.setup;
        setup.firstPage = 2;
        folder.configure(setup);
        ASSERT_TRUE(folder.show(nullptr, false));
        EXPECT_EQ(folder.getCurrentIndex(), 2);
        if (closeBox)
            folder.reject();
        else
            folder.sendCommand(IDCANCEL, BN_CLICKED);
        EXPECT_EQ(provider.calls.back(), "end cancelled");
        EXPECT_FALSE(folder.isVisible());
    }
}

TEST(PropertyFolderDialog, Modal)
{
    registerPages();
    Provider provider;
    PropertyFolderDialog folder(&provider, QIcon());
    QTimer::singleShot(0, &folder, [&] { folder.sendCommand(IDOK, BN_CLICKED); });
    EXPECT_TRUE(folder.show(nullptr, true));
    EXPECT_EQ(provider.calls.back(), "end ok");
    EXPECT_EQ(std::count(provider.calls.begin(), provider.calls.end(), "end ok"), 1);
}

} // namespace
