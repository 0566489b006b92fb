#pragma once
// Fonts for the texts of the loaded language. A character set names the
// script a font must cover; it follows the process ANSI code page, so that
// Japanese, Korean, Chinese and Western texts each get a font that has them.
#include <string>

class QFont;
class QPaintDevice;

class FontUtil {
public:
    enum Charset {
        ANSI_CHARSET = 0,
        DEFAULT_CHARSET = 1,  // any script
        SHIFTJIS_CHARSET = 128,
        HANGUL_CHARSET = 129,
        GB2312_CHARSET = 134,
        CHINESEBIG5_CHARSET = 136,
        GREEK_CHARSET = 161,
        TURKISH_CHARSET = 162,
        VIETNAMESE_CHARSET = 163,
        HEBREW_CHARSET = 177,
        ARABIC_CHARSET = 178,
        BALTIC_CHARSET = 186,
        RUSSIAN_CHARSET = 204,
        THAI_CHARSET = 222,
        EASTEUROPE_CHARSET = 238,
    };

    // The character set of a code page; ANSI_CHARSET for one without its own.
    static int charsetOfCodePage(unsigned codePage);
    // The character set of the process ANSI code page.
    static int getCharset();
    // Whether that is not ANSI_CHARSET; found out once per run.
    static bool isNonAnsiCharset();

    // A sans-serif font of `face` in pixels: a negative height is the
    // character height, a positive one the cell height (with the internal
    // leading), 0 the default size. A face that is not installed is stood in
    // for by the closest one, as the font system chooses. A face longer than
    // a font name can be (31 characters) cannot be asked for: the request is
    // logged and the system font is used.
    static void create(QFont& font, const std::string& face, int height, bool bold, bool italic);
    // Ascent plus descent of the font on the screen.
    static int getHeight(const QFont& font);
    // Whether an installed font family of that name (cut to 31 characters,
    // letter case ignored) covers the character set. Faces are the same for
    // every device, so the device form is the same test.
    static bool exists(const std::string& face, int charset);
    static bool exists(const std::string& face, QPaintDevice* device, int charset);
    // Whether "Small Fonts" exists in the ANSI character set; found out once per run.
    static bool smallFontsExists();
    // A size in tenths of a point as a negative (character) height in pixels
    // of the device, the screen when null: size x dots per inch / 720.
    static int pointSizeToHeight(int tenthsOfPoint, QPaintDevice* device);
};
