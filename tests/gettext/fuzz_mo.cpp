// libFuzzer target for the .mo reader (configure with clang and -DTAVO_FUZZ=ON):
//     build/tests/gettext/fuzz_mo tests/gettext/corpus
#include "MoFuzzInput.h"
#include "Utillib/LogStream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every refused input writes a log line; keep them out of the working folder.
    LogStream::recreate("/dev/null");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    exerciseCatalogueImage(data, size);
    return 0;
}
