#pragma once
// Dialog templates: our dialogs are authored as readable tables (dialog units,
// texts in UTF-8 as the screens show them) and encoded into the extended
// dialog template byte layout, which is what the template editor works on and
// what the dialog builder reads. Both template layouts can be read back.
#include "platform/WinTypes.h"
#include "platform/WindowStyles.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr char RT_DIALOG[] = "DIALOG";

// One row of a dialog table. WS_CHILD is always added to the style.
struct DialogControl {
    int id = 0;
    std::string className; // "Button", "Edit", "Static", "ComboBox", "ListBox" or a registered class
    std::string text;      // UTF-8
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    DWORD exStyle = 0;
};

struct DialogTable {
    int id = 0;
    std::string caption; // UTF-8
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::string fontFace;  // written only when the style has DS_SETFONT
    int pointSize = 8;
    std::vector<DialogControl> controls;
    DWORD exStyle = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    BYTE charset = DEFAULT_CHARSET;
};

// The bytes of the extended template for a table.
std::vector<unsigned char> encodeDialogTemplate(const DialogTable& table);

// Encodes the table and registers the bytes as the DIALOG resource of its id
// (the bytes are kept for the rest of the run).
void registerDialog(const DialogTable& table);

// A menu, class or control text field: a name, or an ordinal (0xFFFF followed by a number).
struct TemplateName {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::u16string text;
};

struct TemplateControl {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    TemplateName windowClass;
    TemplateName text;
    std::vector<unsigned char> creationData;
};

struct ParsedDialogTemplate {
    bool extended = false;
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    TemplateName menu;
    TemplateName windowClass;
    std::u16string caption;
    bool hasFont = false;
    int pointSize = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    BYTE charset = DEFAULT_CHARSET;
    std::u16string face;
    std::vector<TemplateControl> controls;
};

// Reads template bytes of either layout; empty when they are not a complete template.
std::optional<ParsedDialogTemplate> parseDialogTemplate(const unsigned char* data, std::size_t size);

// The class name of a control: predefined classes are stored as ordinals 0x80 to 0x85.
std::string controlClassName(const TemplateName& windowClass);

// UTF-16 appears only inside template bytes; these convert at that border.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);
std::wstring utf16ToWide(std::u16string_view text);
std::u16string wideToUtf16(std::wstring_view text);

} // namespace platform
