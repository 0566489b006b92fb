#pragma once
// An editable copy of a dialog template: the font, caption, style, size and
// position are changed in place before a dialog is created from the copy.
// Both template layouts are understood; the controls behind the variable
// header move along when the header grows or shrinks.
#include "platform/WinTypes.h"

#include <cstddef>
#include <string>
#include <vector>

class DialogTemplateEditor {
public:
    struct Font {
        std::string face; // in the ANSI code page; empty without a font
        int pointSize = -1;
    };

    // Spare room behind a copied template, for a longer caption or a font block.
    static constexpr std::size_t spareBytes = 578;
    // How much longer than the current one a new caption may be, in bytes.
    static constexpr std::size_t captionGrowthLimit = 512;

    // An empty editor.
    DialogTemplateEditor() = default;
    // A copy of the DIALOG resource; empty when there is none.
    explicit DialogTemplateEditor(int templateId);

    DialogTemplateEditor(const DialogTemplateEditor& other);
    DialogTemplateEditor& operator=(const DialogTemplateEditor& other);

    // Replaces the copy by the resource; false, leaving the editor empty, when it is missing.
    bool load(int templateId);
    // Replaces the copy by the bytes; false for no bytes.
    bool load(const unsigned char* data, std::size_t size);

    // The template bytes to create a dialog from (null for an empty editor) and their count.
    const unsigned char* data() const { return bytes.empty() ? nullptr : bytes.data(); }
    std::size_t size() const { return templateSize; }
    bool isEmpty() const { return bytes.empty(); }

    bool isExtended() const;
    bool hasFont() const;
    // The bytes of the font block (0 without DS_SETFONT).
    std::size_t fontBlockSize() const;

    DWORD getStyle() const;
    bool setStyle(DWORD style);
    // Dialog units; (-1, -1) for an empty editor.
    SIZE getSize() const;
    bool setSize(int cx, int cy);
    POINT getPosition() const;
    bool setPosition(int x, int y);

    std::wstring getCaption() const;
    // False, changing nothing, when the caption would grow by more than 512 bytes.
    bool setCaption(const std::wstring& caption);

    Font getFont() const;
    // Sets DS_SETFONT and the face (at most 31 UTF-16 units) and point size;
    // an extended template keeps its weight, italic and character set.
    bool setFont(const std::string& face, int pointSize);
    // False when the template has no font.
    bool setFontSize(int pointSize);

    // The base units of the template's font, or those of dialogs without a
    // font; (-1, -1) for an empty editor.
    SIZE getBaseUnits() const;
    POINT toPixels(int x, int y) const;
    POINT toDialogUnits(int x, int y) const;

private:
    // Offsets of the variable header parts, from the start of the block.
    struct Layout {
        std::size_t captionStart = 0;
        std::size_t captionEnd = 0; // after the NUL
        std::size_t fontStart = 0;
        std::size_t fontEnd = 0;    // after the face's NUL; equal to fontStart without a font
        std::size_t itemsStart = 0; // fontEnd rounded up to 4
        int itemCount = 0;
    };
    bool scan(Layout& layout) const;
    std::u16string faceUnits(const Layout& layout) const;
    WORD word(std::size_t at) const;
    void putWord(std::size_t at, WORD value);
    DWORD dword(std::size_t at) const;
    void putDword(std::size_t at, DWORD value);
    std::size_t styleOffset() const;
    std::size_t countOffset() const;
    // Replaces the bytes from `from` to the end of the header by `header` and
    // moves the items to the next 4-byte boundary behind it.
    void replaceHeaderTail(const Layout& layout, std::size_t from, const std::vector<unsigned char>& header);
    void copyFrom(const unsigned char* data, std::size_t size);

    std::vector<unsigned char> bytes; // the template and at least spareBytes of zeros behind it
    std::size_t templateSize = 0;
};
