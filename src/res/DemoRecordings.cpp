#include "res/DemoRecordings.h"

#include "platform/Resources.h"
#include "res/EmbeddedFiles.h"

namespace res {

void registerDemoRecordings()
{
    for (std::size_t i = 0; i < demoRecordingFilesCount; ++i) {
        const EmbeddedFile& f = demoRecordingFiles[i];
        platform::registerResource("BIN", f.id, f.data, f.size);
    }
}

} // namespace res
