#pragma once
// A session's event toolbar as a model: its buttons (an id, a name, a tooltip
// and an image of the 16 by 15 event icon strip, bitmap 280), which it puts
// into a toolbar, enables, and draws elsewhere (graphs, printouts).
// EventIconList holds the 97 event icons at one of three sizes.
#include <QImage>
#include <QPixmap>

#include <list>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPainter;
class QToolBar;

struct ToolBarEntry {
    // Logs the failed check when the tooltip has 80 characters or more.
    ToolBarEntry(int id, const std::wstring& name, const std::wstring& toolTip, int image);

    int id;              // negative: a separator
    std::wstring name;   // the button text
    std::wstring toolTip;
    int image;           // index in the icon strip
};

// The transparent colour of the icon strips (red 0x15, green 0x02, blue 0x03).
constexpr unsigned eventIconMask = 0x150203;
constexpr int eventIconCount = 97;

class ToolBar {
public:
    ToolBar();
    ~ToolBar();

    // Appends a copy and registers its tooltip under its id; the
    // registration's result (false when the id had a tooltip already).
    bool addButton(const ToolBarEntry& entry);
    // The first entry with the id, or null.
    const ToolBarEntry* findButton(int id) const;
    // Fills the toolbar: one action per entry (its icon, name and tooltip,
    // the id as its "commandId" property and the entry as its data), a
    // separator for a negative id.
    void createButtons(QToolBar* toolBar) const;
    // Enables or disables every button that is not a separator.
    void enableButtons(QToolBar* toolBar, bool enable) const;
    // The entry's 16 by 15 image at (x, y).
    void drawImage(const ToolBarEntry& entry, QPainter& painter, int x, int y) const;
    // The same stretched into the rectangle, for printing.
    void drawImageStretched(const ToolBarEntry& entry, QPainter& painter, int x, int y, int width, int height) const;

    const std::list<ToolBarEntry>& getEntries() const { return entries; }
    int getButtonCount() const { return buttonCount; }

    const int buttonWidth = 16;
    const int buttonHeight = 15;

private:
    std::list<ToolBarEntry> entries; // stable addresses: actions point at them
    int buttonCount = 0;
    QImage strip;
};

class EventIconList {
public:
    // 1: the 24-pixel icons, 2: the 32-pixel ones, anything else the 16 by 15 ones.
    explicit EventIconList(int size);
    virtual ~EventIconList();

    int iconWidth() const { return width; }
    int iconHeight() const { return height; }
    int count() const { return static_cast<int>(icons.size()); }
    // The icon with its mask colour transparent; null for a bad index.
    QPixmap icon(int index) const;

    // Makes the list show these icons small on a silver background.
    void attachToList(QListWidget* list) const;
    // The list gets exactly the 97 icons, item i showing icon i, without text.
    void fillList(QListWidget* list) const;
    void showIcon(QLabel* control, int index) const;
    // Draws the icon at (x, y), its mask colour transparent.
    void draw(QPainter& painter, int index, int x, int y) const;

    const int bitmapId;

private:
    int width = 16;
    int height = 15;
    std::vector<QPixmap> icons;
};
