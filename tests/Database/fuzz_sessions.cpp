// Fuzz target for the reader of session exchange files. Besides not crashing,
// a file the reader accepts must give records that, written again and read
// back, give the same bytes, and whose trailer rule holds.
#include "Database/SessionsFile.h"

#include "Utillib/LogStream.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "sessions fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Each export logs its buffer size; keep the lines out of the working folder.
    LogStream::recreate("/dev/null");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<SessionRecord> records;
    std::string error;
    auto result = sessionsfile::parseImage(reinterpret_cast<const char*>(data), size, records, error);
    if (result != sessionsfile::ParseResult::ok) {
        require(records.empty(), "a refused file gave records");
        return 0;
    }
    require(records.empty() || records.back().magic == SESSION_RECORD_MAGIC, "accepted without the last trailer");
    for (const SessionRecord& r : records)
        sessionsfile::invalidRecordReason(r);

    sessionsfile::Image first;
    require(sessionsfile::buildImage(records, first, error), "accepted records cannot be written");
    std::vector<SessionRecord> again;
    require(sessionsfile::parseImage(first.block.get(), first.size, again, error) == sessionsfile::ParseResult::ok,
        "a written file is refused");
    require(again.size() == records.size(), "the record count changed");
    sessionsfile::Image second;
    require(sessionsfile::buildImage(again, second, error), "read-back records cannot be written");
    require(second.size == first.size && std::memcmp(first.block.get(), second.block.get(), first.size) == 0,
        "writing is not stable");
    return 0;
}
