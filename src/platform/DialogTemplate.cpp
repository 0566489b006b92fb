#include "platform/DialogTemplate.h"

#include "platform/Resources.h"

#include <array>
#include <deque>

namespace platform {

namespace {

constexpr char32_t replacement = 0xFFFD;

// Decodes one UTF-8 sequence at `at`, advancing it; malformed input gives U+FFFD.
char32_t decodeUtf8(std::string_view text, std::size_t& at)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at++);
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4)
        return replacement;
    char32_t value = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if (at >= text.size() || (byte(at) & 0xC0) != 0x80)
            return replacement;
        value = (value << 6) | (byte(at++) & 0x3F);
    }
    static constexpr std::array<char32_t, 4> smallest { 0, 0x80, 0x800, 0x10000 };
    if (value < smallest[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return replacement;
    return value;
}

void appendUtf16(std::u16string& out, char32_t c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

// Decodes one code point from UTF-16; a lone surrogate stands for itself.
char32_t decodeUtf16(std::u16string_view text, std::size_t& at)
{
    char32_t unit = text[at++];
    if (unit >= 0xD800 && unit < 0xDC00 && at < text.size() && text[at] >= 0xDC00 && text[at] < 0xE000)
        return 0x10000 + ((unit - 0xD800) << 10) + (text[at++] - 0xDC00);
    return unit;
}

class Writer {
public:
    void word(WORD value)
    {
        bytes.push_back(static_cast<unsigned char>(value & 0xFF));
        bytes.push_back(static_cast<unsigned char>(value >> 8));
    }
    void dword(DWORD value)
    {
        word(static_cast<WORD>(value & 0xFFFF));
        word(static_cast<WORD>(value >> 16));
    }
    void byte(BYTE value) { bytes.push_back(value); }
    void text(const std::string& utf8)
    {
        for (char16_t unit : utf8ToUtf16(utf8))
            word(unit);
        word(0);
    }
    void align4()
    {
        while (bytes.size() % 4 != 0)
            bytes.push_back(0);
    }
    std::vector<unsigned char> bytes;
};

class Reader {
public:
    Reader(const unsigned char* data, std::size_t size)
        : data(data)
        , size(size)
    {
    }
    bool ok() const { return good; }
    std::size_t position() const { return at; }
    WORD word()
    {
        if (!need(2))
            return 0;
        WORD value = static_cast<WORD>(data[at] | (data[at + 1] << 8));
        at += 2;
        return value;
    }
    DWORD dword()
    {
        DWORD low = word();
        DWORD high = word();
        return low | (high << 16);
    }
    BYTE byte()
    {
        if (!need(1))
            return 0;
        return data[at++];
    }
    std::u16string text()
    {
        std::u16string result;
        while (good) {
            WORD unit = word();
            if (unit == 0 || !good)
                break;
            result.push_back(static_cast<char16_t>(unit));
        }
        return result;
    }
    TemplateName name()
    {
        TemplateName result;
        WORD first = word();
        if (first == 0xFFFF) {
            result.isOrdinal = true;
            result.ordinal = word();
        } else if (first != 0) {
            result.text.push_back(static_cast<char16_t>(first));
            result.text += text();
        }
        return result;
    }
    void bytesInto(std::vector<unsigned char>& out, std::size_t count)
    {
        if (!need(count))
            return;
        out.assign(data + at, data + at + count);
        at += count;
    }
    void align4()
    {
        std::size_t aligned = (at + 3) & ~std::size_t(3);
        // The last item needs no padding behind it.
        at = aligned <= size ? aligned : size;
    }

private:
    bool need(std::size_t count)
    {
        if (!good || size - at < count) {
            good = false;
            return false;
        }
        return true;
    }
    const unsigned char* data;
    std::size_t size;
    std::size_t at = 0;
    bool good = true;
};

struct PredefinedClass {
    WORD ordinal;
    const char* name;
};
constexpr PredefinedClass predefinedClasses[] = {
    { 0x80, "Button" }, { 0x81, "Edit" }, { 0x82, "Static" },
    { 0x83, "ListBox" }, { 0x84, "ScrollBar" }, { 0x85, "ComboBox" },
};

bool equalsIgnoringCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] + 32) : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] + 32) : b[i];
        if (x != y)
            return false;
    }
    return i == a.size() && !b[i];
}

} // namespace

std::u16string utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();)
        appendUtf16(out, decodeUtf8(text, at));
    return out;
}

std::string utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = decodeUtf16(text, at);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::wstring utf16ToWide(std::u16string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();)
        out.push_back(static_cast<wchar_t>(decodeUtf16(text, at)));
    return out;
}

std::u16string wideToUtf16(std::wstring_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        auto value = static_cast<char32_t>(c);
        appendUtf16(out, value > 0x10FFFF ? replacement : value);
    }
    return out;
}

std::vector<unsigned char> encodeDialogTemplate(const DialogTable& table)
{
    Writer out;
    out.word(1);
    out.word(0xFFFF);
    out.dword(0); // help id
    out.dword(table.exStyle);
    out.dword(table.style);
    out.word(static_cast<WORD>(table.controls.size()));
    out.word(static_cast<WORD>(table.x));
    out.word(static_cast<WORD>(table.y));
    out.word(static_cast<WORD>(table.cx));
    out.word(static_cast<WORD>(table.cy));
    out.word(0); // no menu
    out.word(0); // the dialog class
    out.text(table.caption);
    if (table.style & DS_SETFONT) {
        out.word(static_cast<WORD>(table.pointSize));
        out.word(static_cast<WORD>(table.weight));
        out.byte(table.italic ? 1 : 0);
        out.byte(table.charset);
        out.text(table.fontFace);
    }
    for (const auto& control : table.controls) {
        out.align4();
        out.dword(0); // help id
        out.dword(control.exStyle);
        out.dword(control.style | WS_CHILD);
        out.word(static_cast<WORD>(control.x));
        out.word(static_cast<WORD>(control.y));
        out.word(static_cast<WORD>(control.cx));
        out.word(static_cast<WORD>(control.cy));
        out.dword(static_cast<DWORD>(control.id));
        bool predefined = false;
        for (const auto& known : predefinedClasses) {
            if (equalsIgnoringCase(control.className, known.name)) {
                out.word(0xFFFF);
                out.word(known.ordinal);
                predefined = true;
                break;
            }
        }
        if (!predefined)
            out.text(control.className);
        out.text(control.text);
        out.word(0); // no creation data
    }
    return out.bytes;
}

void registerDialog(const DialogTable& table)
{
    // A deque never moves what it holds, so registered pointers stay valid.
    static std::deque<std::vector<unsigned char>> kept;
    kept.push_back(encodeDialogTemplate(table));
    registerResource(RT_DIALOG, table.id, kept.back().data(), kept.back().size());
}

std::optional<ParsedDialogTemplate> parseDialogTemplate(const unsigned char* data, std::size_t size)
{
    if (!data)
        return std::nullopt;
    Reader in(data, size);
    ParsedDialogTemplate result;
    WORD count = 0;
    if (size >= 4 && data[2] == 0xFF && data[3] == 0xFF) {
        result.extended = true;
        in.word();
        in.word();
        result.helpId = in.dword();
        result.exStyle = in.dword();
        result.style = in.dword();
    } else {
        result.style = in.dword();
        result.exStyle = in.dword();
    }
    count = in.word();
    result.x = static_cast<short>(in.word());
    result.y = static_cast<short>(in.word());
    result.cx = static_cast<short>(in.word());
    result.cy = static_cast<short>(in.word());
    result.menu = in.name();
    result.windowClass = in.name();
    result.caption = in.text();
    if (result.style & DS_SETFONT) {
        result.hasFont = true;
        result.pointSize = in.word();
        if (result.extended) {
            result.weight = in.word();
            result.italic = in.byte() != 0;
            result.charset = in.byte();
        }
        result.face = in.text();
    }
    for (int i = 0; i < count && in.ok(); ++i) {
        in.align4();
        TemplateControl control;
        if (result.extended) {
            control.helpId = in.dword();
            control.exStyle = in.dword();
            control.style = in.dword();
        } else {
            control.style = in.dword();
            control.exStyle = in.dword();
        }
        control.x = static_cast<short>(in.word());
        control.y = static_cast<short>(in.word());
        control.cx = static_cast<short>(in.word());
        control.cy = static_cast<short>(in.word());
        control.id = result.extended ? in.dword() : in.word();
        control.windowClass = in.name();
        control.text = in.name();
        WORD extra = in.word();
        in.bytesInto(control.creationData, extra);
        result.controls.push_back(std::move(control));
    }
    if (!in.ok())
        return std::nullopt;
    return result;
}

std::string controlClassName(const TemplateName& windowClass)
{
    if (!windowClass.isOrdinal)
        return utf16ToUtf8(windowClass.text);
    for (const auto& known : predefinedClasses)
        if (known.ordinal == windowClass.ordinal)
            return known.name;
    return "#" + std::to_string(windowClass.ordinal);
}

} // namespace platform
