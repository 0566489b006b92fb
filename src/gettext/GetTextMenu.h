#pragma once
// Builds a menu from texts given at run time (already translated) by writing
// a menu template in memory and loading it: popups nest up to 16 levels.
#include <memory>
#include <string>
#include <vector>

class QMenuBar;

class GetTextMenu {
public:
    static constexpr int MAX_MENU_LEVEL = 16;

    GetTextMenu();

    // A command item, or a popup whose items follow until endPopup.
    void addItem(const std::wstring& text, int commandId, bool isPopup);
    void addSeparator();
    // Closes the current popup; refused (and logged) at the menu bar itself.
    void endPopup();
    // The menu bar of the items (owned by the caller); null, logged, when it
    // cannot be made. Popups still open are closed first (and logged).
    std::unique_ptr<QMenuBar> createMenu();
    // Moves the template into a zeroed buffer of that size; sizes that would
    // not hold the template written so far are refused.
    void resize(int newSize);

    const unsigned char* data() const { return buffer.data(); }
    int size() const { return templateIndex; }
    int capacity() const { return templateMaxSize; }
    int level() const { return currentItemLevel; }

private:
    // Makes room for `bytes` more, doubling the buffer as often as needed.
    void reserve(int bytes);
    void putWord(int at, unsigned value);
    void markEnd(int level);

    int itemOffset[MAX_MENU_LEVEL];
    int currentItemLevel = 0;
    std::vector<unsigned char> buffer;
    int templateIndex = 0;
    int templateMaxSize = 2048;
};
