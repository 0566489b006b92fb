#pragma once
// Writes an image as an uncompressed 4-bit BMP file over a fixed palette.
#include <QImage>
#include <QString>

#include <vector>

// The 16 colours (0x00RRGGBB) every bitmap is drawn in.
const std::vector<QRgb>& bitmapPalette();

// False when a pixel is not in the palette or the file cannot be written.
bool writeBmp4(const QImage& image, const QString& path);
