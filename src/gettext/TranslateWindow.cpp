#include "gettext/TranslateWindow.h"

#include "Utillib/GString.h"
#include "gettext/Translator.h"
#include "platformqt/Window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <array>
#include <cstring>

namespace {

// Read as a window text is read into a buffer of this size.
constexpr std::size_t textBufferSize = 1024;

struct Marker {
    std::array<char, 10> bytes {};
    int length = 0; // 0: not found yet, try again at the next use
};

Marker& marker()
{
    static Marker kept;
    return kept;
}

void obtainMarker()
{
    Marker& m = marker();
    std::string bytes = GString::to_string(L"\u00A4");
    m.length = static_cast<int>(std::min<std::size_t>(bytes.size(), m.bytes.size() - 1));
    std::memcpy(m.bytes.data(), bytes.data(), static_cast<std::size_t>(m.length));
    m.bytes[static_cast<std::size_t>(m.length)] = 0;
}

void ensureMarker()
{
    if (marker().length == 0)
        obtainMarker();
}

bool marked(const std::string& text)
{
    const Marker& m = marker();
    return m.length > 0 && text.size() >= static_cast<std::size_t>(m.length)
        && std::memcmp(text.data(), m.bytes.data(), static_cast<std::size_t>(m.length)) == 0;
}

// The translation of a marked narrow text, as narrow text again.
std::string translatedRest(const std::string& text)
{
    return GString::to_c_str(translateString(text.substr(static_cast<std::size_t>(marker().length))));
}

} // namespace

const char* translationMarker()
{
    ensureMarker();
    return marker().bytes.data();
}

int markerLength()
{
    ensureMarker();
    return marker().length;
}

bool startsWithMarker(const char* text)
{
    ensureMarker();
    return text && marked(std::string(text, strnlen(text, static_cast<std::size_t>(marker().length))));
}

void refreshTranslationMarker() { obtainMarker(); }

void translateWindow(QWidget* window)
{
    if (!window)
        return;
    ensureMarker();
    auto translateOne = [](QWidget* one) {
        std::string text = platform::getWindowTextA(one, textBufferSize);
        if (!text.empty() && marked(text))
            platform::setWindowTextA(one, translatedRest(text));
    };
    translateOne(window);
    for (QWidget* child : platform::childWindows(window))
        translateOne(child);
}

int translateMenu(QWidget* menu)
{
    if (!qobject_cast<QMenuBar*>(menu) && !qobject_cast<QMenu*>(menu))
        return 0;
    ensureMarker();
    const auto items = menu->actions();
    for (QAction* item : items) {
        std::string text = platform::qStringToAnsi(item->text());
        if (marked(text))
            item->setText(platform::ansiToQString(translatedRest(text)));
        if (QMenu* submenu = item->menu())
            translateMenu(submenu);
    }
    return static_cast<int>(items.size());
}
