#pragma once
// A session's data file: the events of its two channels and every
// measurement, as text with CR LF line ends and numbers in the C locale
// whatever the desktop's locale. Saved by replacing the old file at once.
#include <cstdio>
#include <string>

class Session;

namespace sessiondata {

// The whole text of the file (three sections: compression events,
// ventilation events, measurements).
std::string text(const Session& session);

// Writes the text to `path` through a new file renamed over the old one.
// False, with the reason in `error`, when it could not be written.
bool save(const Session& session, const std::string& path, std::string* error = nullptr);

enum class LoadResult {
    read,                // all three sections
    missing,             // the file cannot be opened
    damagedEvents,       // the stream failed in an event section
    damagedMeasurements, // the events were read, the measurements were damaged or cut short
};

// Reads the sections into the session's documents and measurements, with
// `sampleRate` for the measurements.
LoadResult load(Session& session, std::FILE* stream, double sampleRate);
LoadResult load(Session& session, const std::string& path, double sampleRate);

} // namespace sessiondata
