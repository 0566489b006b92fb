#include "res/Bitmaps.h"

#include "platform/Dib.h"
#include "platform/Resources.h"
#include "res/EmbeddedFiles.h"

namespace res {

void registerBitmaps()
{
    // A bitmap resource is the BMP file without its 14-byte file header.
    constexpr std::size_t fileHeader = 14;
    for (std::size_t i = 0; i < bitmapFilesCount; ++i) {
        const EmbeddedFile& f = bitmapFiles[i];
        if (f.size > fileHeader && f.data[0] == 'B' && f.data[1] == 'M')
            platform::registerResource(platform::RT_BITMAP, f.id, f.data + fileHeader, f.size - fileHeader);
    }
}

} // namespace res
