#include "Utillib/DialogTemplateEditor.h"

#include "Utillib/GString.h"
#include "platform/DialogTemplate.h"
#include "platform/Resources.h"
#include "platform/WindowStyles.h"
#include "platformqt/DialogUnits.h"

#include <QString>
#include <cstring>

namespace {

constexpr std::size_t extendedHeaderSize = 26;
constexpr std::size_t plainHeaderSize = 18;
constexpr std::size_t faceUnitsWithNul = 32;

std::size_t roundUp4(std::size_t offset) { return (offset + 3) & ~std::size_t(3); }

} // namespace

DialogTemplateEditor::DialogTemplateEditor(int templateId) { load(templateId); }

DialogTemplateEditor::DialogTemplateEditor(const DialogTemplateEditor& other) { copyFrom(other.data(), other.size()); }

DialogTemplateEditor& DialogTemplateEditor::operator=(const DialogTemplateEditor& other)
{
    if (this != &other)
        copyFrom(other.data(), other.size());
    return *this;
}

void DialogTemplateEditor::copyFrom(const unsigned char* data, std::size_t size)
{
    bytes.clear();
    templateSize = 0;
    if (!data || size == 0)
        return;
    bytes.assign(size + spareBytes, 0);
    std::memcpy(bytes.data(), data, size);
    templateSize = size;
}

bool DialogTemplateEditor::load(int templateId)
{
    platform::Resource found = platform::findResource(platform::RT_DIALOG, templateId);
    copyFrom(found.data, found.size);
    return !isEmpty();
}

bool DialogTemplateEditor::load(const unsigned char* data, std::size_t size)
{
    copyFrom(data, size);
    return !isEmpty();
}

WORD DialogTemplateEditor::word(std::size_t at) const
{
    return at + 2 <= templateSize ? static_cast<WORD>(bytes[at] | (bytes[at + 1] << 8)) : 0;
}

void DialogTemplateEditor::putWord(std::size_t at, WORD value)
{
    bytes[at] = static_cast<unsigned char>(value & 0xFF);
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

DWORD DialogTemplateEditor::dword(std::size_t at) const { return word(at) | (DWORD(word(at + 2)) << 16); }

void DialogTemplateEditor::putDword(std::size_t at, DWORD value)
{
    putWord(at, static_cast<WORD>(value & 0xFFFF));
    putWord(at + 2, static_cast<WORD>(value >> 16));
}

bool DialogTemplateEditor::isExtended() const { return templateSize >= 4 && word(2) == 0xFFFF; }

std::size_t DialogTemplateEditor::styleOffset() const { return isExtended() ? 12 : 0; }

std::size_t DialogTemplateEditor::countOffset() const { return isExtended() ? 16 : 8; }

bool DialogTemplateEditor::scan(Layout& layout) const
{
    if (isEmpty())
        return false;
    std::size_t at = isExtended() ? extendedHeaderSize : plainHeaderSize;
    if (templateSize < at)
        return false;
    bool good = true;
    auto skipText = [&](std::size_t from) {
        for (std::size_t p = from; p + 2 <= templateSize; p += 2)
            if (word(p) == 0)
                return p + 2;
        good = false;
        return templateSize;
    };
    auto skipName = [&](std::size_t from) {
        if (from + 2 > templateSize) {
            good = false;
            return templateSize;
        }
        WORD first = word(from);
        if (first == 0)
            return from + 2;
        if (first == 0xFFFF) {
            good = good && from + 4 <= templateSize;
            return from + 4;
        }
        return skipText(from);
    };
    at = skipName(at); // menu
    at = skipName(at); // class
    layout.captionStart = at;
    layout.captionEnd = skipText(at);
    layout.fontStart = layout.fontEnd = layout.captionEnd;
    if (good && (getStyle() & DS_SETFONT)) {
        std::size_t face = layout.fontStart + (isExtended() ? 6 : 2);
        layout.fontEnd = face <= templateSize ? skipText(face) : (good = false, templateSize);
    }
    layout.itemsStart = roundUp4(layout.fontEnd);
    layout.itemCount = word(countOffset());
    if (layout.itemCount > 0 && layout.itemsStart > templateSize)
        good = false;
    return good;
}

bool DialogTemplateEditor::hasFont() const { return !isEmpty() && (getStyle() & DS_SETFONT); }

std::size_t DialogTemplateEditor::fontBlockSize() const
{
    Layout layout;
    return scan(layout) ? layout.fontEnd - layout.fontStart : 0;
}

DWORD DialogTemplateEditor::getStyle() const { return isEmpty() ? 0 : dword(styleOffset()); }

bool DialogTemplateEditor::setStyle(DWORD style)
{
    if (templateSize < (isExtended() ? extendedHeaderSize : plainHeaderSize))
        return false;
    putDword(styleOffset(), style);
    return true;
}

SIZE DialogTemplateEditor::getSize() const
{
    if (isEmpty())
        return SIZE { -1, -1 };
    std::size_t at = countOffset() + 6;
    return SIZE { static_cast<short>(word(at)), static_cast<short>(word(at + 2)) };
}

bool DialogTemplateEditor::setSize(int cx, int cy)
{
    if (templateSize < (isExtended() ? extendedHeaderSize : plainHeaderSize))
        return false;
    putWord(countOffset() + 6, static_cast<WORD>(cx));
    putWord(countOffset() + 8, static_cast<WORD>(cy));
    return true;
}

POINT DialogTemplateEditor::getPosition() const
{
    if (isEmpty())
        return POINT { -1, -1 };
    std::size_t at = countOffset() + 2;
    return POINT { static_cast<short>(word(at)), static_cast<short>(word(at + 2)) };
}

bool DialogTemplateEditor::setPosition(int x, int y)
{
    if (templateSize < (isExtended() ? extendedHeaderSize : plainHeaderSize))
        return false;
    putWord(countOffset() + 2, static_cast<WORD>(x));
    putWord(countOffset() + 4, static_cast<WORD>(y));
    return true;
}

std::wstring DialogTemplateEditor::getCaption() const
{
    Layout layout;
    if (!scan(layout))
        return {};
    std::u16string units;
    for (std::size_t at = layout.captionStart; at + 2 < layout.captionEnd; at += 2)
        units.push_back(static_cast<char16_t>(word(at)));
    return platform::utf16ToWide(units);
}

void DialogTemplateEditor::replaceHeaderTail(const Layout& layout, std::size_t from, const std::vector<unsigned char>& header)
{
    std::size_t oldItems = layout.itemsStart;
    std::size_t newEnd = from + header.size();
    std::size_t newItems = roundUp4(newEnd);
    std::size_t oldSize = templateSize;
    std::size_t newSize = layout.itemCount > 0 ? templateSize - oldItems + newItems : newEnd;
    // Never write past the block, however often the header grows.
    if (bytes.size() < newSize + spareBytes)
        bytes.resize(newSize + spareBytes, 0);
    if (layout.itemCount > 0 && oldItems != newItems)
        std::memmove(bytes.data() + newItems, bytes.data() + oldItems, oldSize - oldItems);
    std::memcpy(bytes.data() + from, header.data(), header.size());
    std::memset(bytes.data() + newEnd, 0, newItems - newEnd);
    if (newSize < oldSize)
        std::memset(bytes.data() + newSize, 0, oldSize - newSize);
    templateSize = newSize;
}

bool DialogTemplateEditor::setCaption(const std::wstring& caption)
{
    Layout layout;
    if (!scan(layout))
        return false;
    std::u16string units = platform::wideToUtf16(caption);
    std::size_t oldBytes = layout.captionEnd - layout.captionStart - 2;
    std::size_t newBytes = units.size() * 2;
    if (newBytes > oldBytes && newBytes - oldBytes > captionGrowthLimit)
        return false;
    std::vector<unsigned char> header;
    for (char16_t unit : units) {
        header.push_back(static_cast<unsigned char>(unit & 0xFF));
        header.push_back(static_cast<unsigned char>(unit >> 8));
    }
    header.push_back(0);
    header.push_back(0);
    // The font block travels behind the new caption.
    header.insert(header.end(), bytes.begin() + static_cast<std::ptrdiff_t>(layout.fontStart),
                  bytes.begin() + static_cast<std::ptrdiff_t>(layout.fontEnd));
    replaceHeaderTail(layout, layout.captionStart, header);
    return true;
}

std::u16string DialogTemplateEditor::faceUnits(const Layout& layout) const
{
    std::u16string face;
    for (std::size_t at = layout.fontStart + (isExtended() ? 6 : 2); at + 2 < layout.fontEnd; at += 2)
        face.push_back(static_cast<char16_t>(word(at)));
    return face;
}

DialogTemplateEditor::Font DialogTemplateEditor::getFont() const
{
    Layout layout;
    if (!hasFont() || !scan(layout))
        return Font {};
    return Font { GString::to_string(platform::utf16ToWide(faceUnits(layout))), word(layout.fontStart) };
}

bool DialogTemplateEditor::setFont(const std::string& face, int pointSize)
{
    Layout layout;
    if (!scan(layout))
        return false;
    bool had = hasFont();
    std::u16string units = platform::wideToUtf16(GString::to_wstring(face));
    if (units.size() > faceUnitsWithNul - 1)
        units.resize(faceUnitsWithNul - 1);

    std::vector<unsigned char> block;
    auto put = [&](WORD value) {
        block.push_back(static_cast<unsigned char>(value & 0xFF));
        block.push_back(static_cast<unsigned char>(value >> 8));
    };
    put(static_cast<WORD>(pointSize));
    if (isExtended()) {
        if (had) {
            block.insert(block.end(), bytes.begin() + static_cast<std::ptrdiff_t>(layout.fontStart + 2),
                         bytes.begin() + static_cast<std::ptrdiff_t>(layout.fontStart + 6));
        } else {
            put(FW_NORMAL);
            block.push_back(0);
            block.push_back(DEFAULT_CHARSET);
        }
    }
    for (char16_t unit : units)
        put(unit);
    put(0);
    replaceHeaderTail(layout, layout.fontStart, block);
    setStyle(getStyle() | DS_SETFONT);
    return true;
}

bool DialogTemplateEditor::setFontSize(int pointSize)
{
    Layout layout;
    if (!hasFont() || !scan(layout))
        return false;
    putWord(layout.fontStart, static_cast<WORD>(pointSize));
    return true;
}

SIZE DialogTemplateEditor::getBaseUnits() const
{
    if (isEmpty())
        return SIZE { -1, -1 };
    Layout layout;
    if (!hasFont() || !scan(layout))
        return platform::systemDialogBaseUnits();
    return platform::dialogBaseUnits(QString::fromStdU16String(faceUnits(layout)), word(layout.fontStart));
}

POINT DialogTemplateEditor::toPixels(int x, int y) const
{
    if (isEmpty())
        return POINT { -1, -1 };
    SIZE units = getBaseUnits();
    return POINT { MulDiv(x, units.cx, 4), MulDiv(y, units.cy, 8) };
}

POINT DialogTemplateEditor::toDialogUnits(int x, int y) const
{
    if (isEmpty())
        return POINT { -1, -1 };
    SIZE units = getBaseUnits();
    return POINT { MulDiv(x, 4, units.cx), MulDiv(y, 8, units.cy) };
}
