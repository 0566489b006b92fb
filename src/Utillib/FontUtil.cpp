#include "Utillib/FontUtil.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "platform/CodePage.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::size_t maxFaceLength = 31;

QFontDatabase::WritingSystem writingSystemOf(int charset)
{
    switch (charset) {
    case FontUtil::SHIFTJIS_CHARSET: return QFontDatabase::Japanese;
    case FontUtil::HANGUL_CHARSET: return QFontDatabase::Korean;
    case FontUtil::GB2312_CHARSET: return QFontDatabase::SimplifiedChinese;
    case FontUtil::CHINESEBIG5_CHARSET: return QFontDatabase::TraditionalChinese;
    case FontUtil::GREEK_CHARSET: return QFontDatabase::Greek;
    case FontUtil::VIETNAMESE_CHARSET: return QFontDatabase::Vietnamese;
    case FontUtil::HEBREW_CHARSET: return QFontDatabase::Hebrew;
    case FontUtil::ARABIC_CHARSET: return QFontDatabase::Arabic;
    case FontUtil::RUSSIAN_CHARSET: return QFontDatabase::Cyrillic;
    case FontUtil::THAI_CHARSET: return QFontDatabase::Thai;
    case FontUtil::DEFAULT_CHARSET: return QFontDatabase::Any;
    default: return QFontDatabase::Latin;
    }
}

QString faceName(const std::string& face)
{
    return QString::fromStdWString(GString::to_wstring(face.substr(0, maxFaceLength)));
}

int screenDpiY()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(screen->logicalDotsPerInchY()) : 96;
}

} // namespace

int FontUtil::charsetOfCodePage(unsigned codePage)
{
    switch (codePage) {
    case 874: return THAI_CHARSET;
    case 932: return SHIFTJIS_CHARSET;
    case 936: return GB2312_CHARSET;
    case 949: return HANGUL_CHARSET;
    case 950: return CHINESEBIG5_CHARSET;
    case 1250: return EASTEUROPE_CHARSET;
    case 1251: return RUSSIAN_CHARSET;
    case 1253: return GREEK_CHARSET;
    case 1254: return TURKISH_CHARSET;
    case 1255: return HEBREW_CHARSET;
    case 1256: return ARABIC_CHARSET;
    case 1257: return BALTIC_CHARSET;
    case 1258: return VIETNAMESE_CHARSET;
    default: return ANSI_CHARSET;
    }
}

int FontUtil::getCharset() { return charsetOfCodePage(platform::ansiCodePage()); }

bool FontUtil::isNonAnsiCharset()
{
    static const bool nonAnsi = getCharset() != ANSI_CHARSET;
    return nonAnsi;
}

void FontUtil::create(QFont& font, const std::string& face, int height, bool bold, bool italic)
{
    if (face.size() > maxFaceLength) {
        LogStream::instance() << "FontUtil::create( .., " << face << ", " << height << ", "
                              << (bold ? "true" : "false") << ", " << (italic ? "true" : "false")
                              << ") : can't create font." << LogStream::endl;
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        return;
    }
    QFont made(faceName(face));
    made.setStyleHint(QFont::SansSerif);
    made.setWeight(bold ? QFont::Bold : QFont::Normal);
    made.setItalic(italic);
    made.setUnderline(false);
    made.setStrikeOut(false);
    if (height < 0) {
        made.setPixelSize(-height);
    } else if (height > 0) {
        // A cell height includes the leading above the characters: scale the
        // character size so that ascent plus descent comes out at the height.
        made.setPixelSize(height);
        int cell = getHeight(made);
        if (cell > 0 && cell != height)
            made.setPixelSize(std::max(1, height * height / cell));
    }
    font = made;
}

int FontUtil::getHeight(const QFont& font)
{
    QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

bool FontUtil::exists(const std::string& face, int charset)
{
    QString wanted = faceName(face);
    const QStringList families = QFontDatabase::families(writingSystemOf(charset));
    for (const QString& family : families)
        if (family.compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool FontUtil::exists(const std::string& face, QPaintDevice*, int charset) { return exists(face, charset); }

bool FontUtil::smallFontsExists()
{
    static const bool found = exists("Small Fonts", getCharset());
    return found;
}

int FontUtil::pointSizeToHeight(int tenthsOfPoint, QPaintDevice* device)
{
    int dpi = device ? device->logicalDpiY() : screenDpiY();
    return -std::abs(tenthsOfPoint * dpi / 720);
}
