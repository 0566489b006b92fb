#include "Utillib/DrawUtil.h"
#include "platform/Dib.h"
#include "platform/Resources.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr COLORREF red = 0x0000FF;  // 0x00BBGGRR
constexpr COLORREF blue = 0xFF0000;
constexpr COLORREF magenta = 0xFF00FF;

QImage canvas(int width = 20, int height = 20)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

COLORREF at(const QImage& image, int x, int y) { return Utillib::toColorRef(image.pixel(x, y)); }

int countColour(const QImage& image, COLORREF colour, QRect* bounds = nullptr)
{
    int count = 0;
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (at(image, x, y) == colour) {
                ++count;
                box |= QRect(x, y, 1, 1);
            }
    if (bounds)
        *bounds = box;
    return count;
}

TEST(DrawRectangle, FillsExactlyTheRectangle)
{
    QImage image = canvas();
    {
        QPainter painter(&image);
        Utillib::drawRectangle(painter, 3, 4, 13, 14, red);
    }
    QRect bounds;
    EXPECT_EQ(countColour(image, red, &bounds), 100);
    EXPECT_EQ(bounds, QRect(3, 4, 10, 10));
}

TEST(DrawRectangle, NarrowRectanglesAreOutlinedThroughTheirCorners)
{
    QImage image = canvas();
    {
        QPainter painter(&image);
        Utillib::drawRectangle(painter, 2, 2, 4, 10, blue);
    }
    EXPECT_EQ(at(image, 2, 5), blue);
    EXPECT_EQ(at(image, 4, 5), blue);
    EXPECT_EQ(at(image, 3, 2), blue);
    EXPECT_EQ(at(image, 3, 10), blue);
    EXPECT_NE(at(image, 3, 5), blue); // the inside stays
    QRect bounds;
    countColour(image, blue, &bounds);
    EXPECT_EQ(bounds, QRect(2, 2, 3, 9));
}

QImage twoByTwo()
{
    QImage bitmap(2, 2, QImage::Format_RGB32);
    bitmap.setPixel(0, 0, Utillib::fromColorRef(red));
    bitmap.setPixel(1, 0, Utillib::fromColorRef(magenta));
    bitmap.setPixel(0, 1, Utillib::fromColorRef(blue));
    bitmap.setPixel(1, 1, Utillib::fromColorRef(red));
    return bitmap;
}

TEST(DrawBitmapScaled, EveryPixelButTheTransparentOnesBecomesACell)
{
    QImage image = canvas();
    {
        QPainter painter(&image);
        Utillib::drawBitmapScaled(painter, twoByTwo(), magenta, 1, 1, 8, 8, 0, 0, 2, 2);
    }
    EXPECT_EQ(countColour(image, red), 32);
    EXPECT_EQ(countColour(image, blue), 16);
    EXPECT_EQ(at(image, 6, 2), Utillib::toColorRef(qRgb(255, 255, 255))); // under the transparent pixel
    EXPECT_EQ(at(image, 1, 1), red);
    EXPECT_EQ(at(image, 1, 5), blue);

    // A source rectangle that starts inside the bitmap starts at the destination's corner.
    QImage part = canvas();
    {
        QPainter painter(&part);
        Utillib::drawBitmapScaled(painter, twoByTwo(), magenta, 0, 0, 4, 4, 0, 1, 1, 1);
    }
    QRect bounds;
    EXPECT_EQ(countColour(part, blue, &bounds), 16);
    EXPECT_EQ(bounds, QRect(0, 0, 4, 4));
}

TEST(DrawTransparentBitmap, KeyColourLeavesTheBackground)
{
    QImage image = canvas(4, 4);
    image.fill(Qt::green);
    {
        QPainter painter(&image);
        Utillib::drawTransparentBitmap(painter, twoByTwo(), 1, 1, magenta);
    }
    EXPECT_EQ(at(image, 1, 1), red);
    EXPECT_EQ(at(image, 2, 1), Utillib::toColorRef(qRgb(0, 255, 0)));
    EXPECT_EQ(at(image, 1, 2), blue);
    EXPECT_EQ(at(image, 0, 0), Utillib::toColorRef(qRgb(0, 255, 0)));
}

// A bitmap resource: header, colour table, rows bottom first padded to 4 bytes.
std::vector<unsigned char> dib(int width, int height, int bits, std::vector<unsigned char> table,
                               std::vector<unsigned char> pixels, std::uint32_t coloursUsed = 0)
{
    std::vector<unsigned char> out(40, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, static_cast<std::uint32_t>(width));
    put32(8, static_cast<std::uint32_t>(height));
    out[12] = 1;
    out[14] = static_cast<unsigned char>(bits);
    put32(32, coloursUsed);
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

TEST(Dib, DecodesTheBitDepthsBottomRowFirst)
{
    // 24 bits, 2 x 2: bottom row blue, red; top row red, magenta (bytes are blue, green, red).
    auto rgb = dib(2, 2, 24, {}, { 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 0, 255, 0, 0 });
    auto pixels = platform::decodeDib(rgb.data(), rgb.size());
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->rgb, (std::vector<std::uint32_t> { 0xFF0000, 0xFF00FF, 0x0000FF, 0xFF0000 }));

    // 1 bit with two colours named: black and white.
    auto mono = dib(3, 1, 1, { 0, 0, 0, 0, 255, 255, 255, 0 }, { 0xA0, 0, 0, 0 }, 2);
    pixels = platform::decodeDib(mono.data(), mono.size());
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->rgb, (std::vector<std::uint32_t> { 0xFFFFFF, 0, 0xFFFFFF }));

    // 4 bits, the table of 16 implied; 16 bits as 5-5-5.
    std::vector<unsigned char> sixteen(64, 0);
    sixteen[3 * 4 + 1] = 200;
    auto nibbles = dib(2, 1, 4, sixteen, { 0x30, 0, 0, 0 });
    pixels = platform::decodeDib(nibbles.data(), nibbles.size());
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->rgb[0], 200u << 8);
    auto high = dib(1, 1, 16, {}, { 0x00, 0x7C, 0, 0 });
    pixels = platform::decodeDib(high.data(), high.size());
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->rgb[0], 0xFF0000u);
}

TEST(Dib, RefusesWhatItCannotRead)
{
    auto rgb = dib(2, 2, 24, {}, std::vector<unsigned char>(16, 1));
    for (std::size_t size = 0; size < rgb.size(); ++size)
        EXPECT_FALSE(platform::decodeDib(rgb.data(), size)) << size;
    auto tooManyColours = dib(1, 1, 4, std::vector<unsigned char>(80, 0), { 0, 0, 0, 0 }, 20);
    EXPECT_FALSE(platform::decodeDib(tooManyColours.data(), tooManyColours.size()));
    auto tableWithTrueColour = dib(1, 1, 24, std::vector<unsigned char>(8, 0), { 0, 0, 0, 0 }, 2);
    EXPECT_FALSE(platform::decodeDib(tableWithTrueColour.data(), tableWithTrueColour.size()));
    auto twoBits = dib(1, 1, 2, std::vector<unsigned char>(16, 0), { 0, 0, 0, 0 });
    EXPECT_FALSE(platform::decodeDib(twoBits.data(), twoBits.size()));
    auto compressed = rgb;
    compressed[16] = 1;
    EXPECT_FALSE(platform::decodeDib(compressed.data(), compressed.size()));
}

TEST(ShowDib, DrawsTheResourceStretchedOrLogsWhy)
{
    static const auto bitmap = dib(2, 2, 24, {}, { 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 0, 255, 0, 0 });
    platform::registerResource(platform::RT_BITMAP, 280, bitmap.data(), bitmap.size());
    QImage image = canvas(8, 8);
    {
        QPainter painter(&image);
        EXPECT_TRUE(Utillib::showDib(painter, 280, 0, 0, 8, 8, 0, 0, 2, 2));
    }
    EXPECT_EQ(at(image, 0, 0), red); // the top row comes last in the bytes
    EXPECT_EQ(at(image, 7, 0), magenta);
    EXPECT_EQ(at(image, 0, 7), blue);
    EXPECT_EQ(countColour(image, blue), 16); // whole cells, no blending

    testsupport::LogCapture log;
    {
        QPainter painter(&image);
        EXPECT_FALSE(Utillib::showDib(painter, 281, RECT { 0, 0, 8, 8 }, RECT { 0, 0, 2, 2 }));
    }
    QPainter idle;
    EXPECT_FALSE(Utillib::showDib(idle, 280, 0, 0, 8, 8, 0, 0, 2, 2));
    EXPECT_NE(log.text().find("Utillib::showDib(..) resource error\n"), std::string::npos);
    EXPECT_NE(log.text().find("Util::showDib(..) StretchDIBits bits error: "), std::string::npos);
    platform::unregisterResource(platform::RT_BITMAP, 280);
}

} // namespace
