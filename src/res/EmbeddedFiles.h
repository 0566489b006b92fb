#pragma once
// Files compiled into the program by the build (see EmbedBinaries.cmake).
#include <cstddef>

namespace res {

struct EmbeddedFile {
    int id;
    const unsigned char* data;
    std::size_t size;
};

// The demonstration recordings, one entry per src/res/demo/<id>.bin.
extern const EmbeddedFile demoRecordingFiles[];
extern const std::size_t demoRecordingFilesCount;

// The bitmaps, one entry per src/res/bitmaps/<id>.bmp (a BMP file: the
// bitmap resource follows its 14-byte file header).
extern const EmbeddedFile bitmapFiles[];
extern const std::size_t bitmapFilesCount;

} // namespace res
