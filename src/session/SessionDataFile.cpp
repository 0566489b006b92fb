#include "session/SessionDataFile.h"

#include "platform/FileReplace.h"
#include "session/Session.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {

// Numbers in the file always use a point: the desktop's locale (a German
// one writes a comma) must not reach the file.
class CNumberLocale {
public:
    CNumberLocale()
        : cLocale(newlocale(LC_ALL_MASK, "C", nullptr))
        , previous(cLocale ? uselocale(cLocale) : nullptr)
    {
    }
    ~CNumberLocale()
    {
        if (cLocale) {
            uselocale(previous);
            freelocale(cLocale);
        }
    }
    CNumberLocale(const CNumberLocale&) = delete;
    CNumberLocale& operator=(const CNumberLocale&) = delete;

private:
    locale_t cLocale;
    locale_t previous;
};

bool writeSections(const Session& session, std::FILE* stream)
{
    return session.compressionDoc.saveEvents(stream) && session.ventilationDoc.saveEvents(stream)
        && session.getCommSession().save(stream);
}

} // namespace

namespace sessiondata {

std::string text(const Session& session)
{
    CNumberLocale numbers;
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&buffer, &size);
    if (!stream)
        return {};
    const bool written = writeSections(session, stream);
    std::fclose(stream);
    std::string result = written && buffer ? std::string(buffer, size) : std::string();
    std::free(buffer);
    return result;
}

bool save(const Session& session, const std::string& path, std::string* error)
{
    const std::string contents = text(session);
    if (contents.empty()) {
        if (error)
            *error = "the data could not be put into text";
        return false;
    }
    return platform::replaceFile(path, contents.data(), contents.size(), error) == platform::ReplaceResult::replaced;
}

LoadResult load(Session& session, std::FILE* stream, double sampleRate)
{
    CNumberLocale numbers;
    if (!session.compressionDoc.loadEvents(stream) || !session.ventilationDoc.loadEvents(stream))
        return LoadResult::damagedEvents;
    if (!session.getCommSession().load(stream, sampleRate))
        return LoadResult::damagedMeasurements;
    return LoadResult::read;
}

LoadResult load(Session& session, const std::string& path, double sampleRate)
{
    std::FILE* stream = path.empty() ? nullptr : std::fopen(path.c_str(), "r");
    if (!stream)
        return LoadResult::missing;
    LoadResult result = load(session, stream, sampleRate);
    if (std::fclose(stream) != 0 && result == LoadResult::read)
        result = LoadResult::damagedEvents;
    return result;
}

} // namespace sessiondata
