#include "BmpWriter.h"

#include <QFile>

#include <cstdint>

const std::vector<QRgb>& bitmapPalette()
{
    static const std::vector<QRgb> colours = {
        0x000000, 0xFFFFFF, 0x808080, 0xC0C0C0, 0x150203, 0xC00000, 0x0050C0, 0x008000,
        0xE0A000, 0x800000, 0x404040, 0xF0F0F0, 0x000080, 0x008080, 0x800080, 0x808000,
    };
    return colours;
}

namespace {

void put16(QByteArray& out, std::uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void put32(QByteArray& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

bool writeBmp4(const QImage& image, const QString& path)
{
    const auto& palette = bitmapPalette();
    const int width = image.width();
    const int height = image.height();
    const int rowBytes = ((width + 1) / 2 + 3) / 4 * 4;
    const std::uint32_t pixelOffset = 14 + 40 + 16 * 4;
    QByteArray out;
    out.append("BM");
    put32(out, pixelOffset + std::uint32_t(rowBytes * height));
    put32(out, 0);
    put32(out, pixelOffset);
    put32(out, 40);
    put32(out, std::uint32_t(width));
    put32(out, std::uint32_t(height));
    put16(out, 1);
    put16(out, 4);
    put32(out, 0);
    put32(out, std::uint32_t(rowBytes * height));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 16);
    put32(out, 0);
    for (QRgb colour : palette) {
        out.append(char(colour & 0xFF));
        out.append(char((colour >> 8) & 0xFF));
        out.append(char((colour >> 16) & 0xFF));
        out.append(char(0));
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, 0);
        for (int x = 0; x < width; ++x) {
            QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            int index = -1;
            for (std::size_t i = 0; i < palette.size(); ++i)
                if (palette[i] == pixel)
                    index = int(i);
            if (index < 0)
                return false;
            row[x / 2] = char(row[x / 2] | (x % 2 ? index : index << 4));
        }
        out.append(row);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}
