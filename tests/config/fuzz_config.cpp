// Fuzz target for the reader of "configuration.cprcfg". Besides not crashing,
// an image the reader accepts must keep the model's fixed shape, and writing
// it, reading that back and writing again must give the same bytes.
#include "config/ConfigurationFile.h"

#include "Utillib/LogStream.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "configuration fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every refused input writes a log line; keep them out of the working folder.
    LogStream::recreate("/dev/null");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PropertyModel model;
    if (!ConfigurationFile::readImage(reinterpret_cast<const char*>(data), size, "fuzz input", model))
        return 0;
    require(model.magic == PROPERTY_MODEL_MAGIC, "accepted without the trailer");
    require(model.icons.size() == 6 && model.languages.size() == 3 && model.legends.size() == 6,
        "accepted with the wrong number of icons, languages or legends");

    std::vector<char> first;
    if (!ConfigurationFile::writeImage(model, "fuzz output", first))
        return 0; // an old-version image near the size limit grows by the added setup
    PropertyModel again;
    require(ConfigurationFile::readImage(first.data(), first.size(), "fuzz output", again),
        "a written image is refused");
    // Compared as bytes: a double that is not a number never equals itself.
    std::vector<char> second;
    require(ConfigurationFile::writeImage(again, "fuzz output", second) && second == first,
        "writing is not stable");
    return 0;
}
