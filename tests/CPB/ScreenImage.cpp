#include "ScreenImage.h"

#include "platform/CodePage.h"

#include <QFont>
#include <QPainter>
#include <string>
#include <vector>

namespace {

constexpr int cellWidth = 12;
constexpr int lineHeight = 26;
constexpr int margin = 8;
constexpr int columns = 32;

bool isBarLetter(std::uint8_t c) { return std::string("DFILNQT").find(static_cast<char>(c)) != std::string::npos; }

bool isLeadByte(std::uint8_t b, unsigned codePage)
{
    return codePage == 932 && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
}

// One thing to draw in the grid.
struct Cell {
    enum Kind { Text, Bar, Range, Field, Picture } kind;
    int width; // columns
    QString text;
    const std::uint8_t* picture = nullptr;
};

} // namespace

QImage renderScreen(const ByteVector& s, unsigned codePage)
{
    std::vector<std::vector<Cell>> lines(1);
    auto put = [&](const Cell& cell) {
        int used = 0;
        for (const Cell& c : lines.back())
            used += c.width;
        if (used + cell.width > columns)
            lines.emplace_back();
        lines.back().push_back(cell);
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        std::uint8_t b = s[i];
        if (b == 13) {
            lines.emplace_back();
        } else if (b == 3 && i + 1 < s.size()) {
            std::uint8_t letter = s[++i];
            if (isBarLetter(letter) && i + 32 < s.size()) {
                for (int k = 0; k < columns; ++k) {
                    std::uint8_t c = s[++i];
                    if (c == 176)
                        put({ Cell::Bar, 1, {} });
                    else if (c == 177)
                        put({ Cell::Range, 1, {} });
                    else
                        put({ Cell::Text, 1, QString(QChar(c)) });
                }
            } else {
                put({ Cell::Field, 1, QString(QChar(letter)) });
                if (letter == 'V')
                    break;
            }
        } else if (b == 27 && i + 4 + 72 < s.size() && s[i + 1] == 42) {
            put({ Cell::Picture, 2, {}, &s[i + 5] });
            i += 4 + 72;
        } else {
            std::size_t n = isLeadByte(b, codePage) && i + 1 < s.size() ? 2 : 1;
            std::string bytes(reinterpret_cast<const char*>(&s[i]), n);
            i += n - 1;
            std::wstring wide = platform::multiByteToWide(codePage, bytes).value_or(L"?");
            put({ Cell::Text, static_cast<int>(n), QString::fromStdWString(wide) });
        }
    }

    QImage image(margin * 2 + columns * cellWidth, margin * 2 + static_cast<int>(lines.size()) * lineHeight,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(QColor(210, 210, 210));
    p.drawRect(margin - 1, margin - 1, columns * cellWidth + 1, static_cast<int>(lines.size()) * lineHeight + 1);
    for (std::size_t l = 0; l < lines.size(); ++l) {
        int x = margin;
        int y = margin + static_cast<int>(l) * lineHeight;
        for (const Cell& c : lines[l]) {
            QRect r(x, y + 2, c.width * cellWidth, lineHeight - 4);
            switch (c.kind) {
            case Cell::Bar:
                p.fillRect(r, QColor(60, 60, 60));
                break;
            case Cell::Range:
                p.fillRect(r, QColor(170, 170, 170));
                break;
            case Cell::Field:
                p.fillRect(r, QColor(255, 230, 120));
                p.setPen(Qt::black);
                p.drawText(r, Qt::AlignCenter, c.text);
                break;
            case Cell::Picture:
                for (int px = 0; px < 24; ++px)
                    for (int py = 0; py < 24; ++py)
                        if (c.picture[3 * px + py / 8] & (0x80 >> (py % 8)))
                            p.fillRect(QRect(x + px, y + 1 + py, 1, 1), Qt::black);
                break;
            case Cell::Text:
                p.setPen(Qt::black);
                p.drawText(r, Qt::AlignCenter, c.text);
                break;
            }
            x += c.width * cellWidth;
        }
    }
    return image;
}
