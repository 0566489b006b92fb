#include "DataFileFuzz.h"

#include "FakeSessionServices.h"
#include "session/SessionDataFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int fuzzSessionDataFile(const std::uint8_t* data, std::size_t size)
{
    static sessiontest::FakeSessionServices services;
    SessionRecord record;
    record.Manikin = -1;
    Session session(record, Algorithm());
    std::FILE* stream = std::tmpfile();
    if (!stream)
        return 0;
    std::fwrite(data, 1, size, stream);
    std::rewind(stream);
    sessiondata::load(session, stream, 20.0);
    std::fclose(stream);
    // Never more events than pairs of numbers the bytes could hold.
    const std::size_t events = session.compressionDoc.getEvents().size() + session.ventilationDoc.getEvents().size();
    if (events > size / 2 + 1)
        std::abort();
    if (session.getCommSession().manData.size() > size / 6 + 1)
        std::abort();
    return 0;
}
