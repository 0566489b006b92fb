#include "Recording.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <map>
#include <ostream>
#include <sstream>

namespace demo {

namespace {

const char* const tableHeader = "kind,series,start,peak,end,units,size,flags";

std::string format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string flagsText(const Event& e)
{
    std::string flags;
    if (e.stomachInflation)
        flags += 'A';
    if (e.wrongHand)
        flags += 'B';
    if (e.leaning)
        flags += 'L';
    return flags;
}

void writeSummary(std::ostream& out, const GroundTruth& truth)
{
    struct Series {
        int count = 0, firstPeak = 0, lastPeak = 0, start = 0, end = 0;
    };
    std::map<int, Series> compressionSeries;
    int leaning = 0, wrongHand = 0, ventilations = 0, stomach = 0;
    for (const Event& e : truth.events) {
        if (e.kind == EventKind::Compression) {
            Series& s = compressionSeries[e.series];
            if (s.count++ == 0) {
                s.firstPeak = e.peak;
                s.start = e.start;
            }
            s.lastPeak = e.peak;
            s.end = e.end;
            leaning += e.leaning;
            wrongHand += e.wrongHand;
        } else if (e.kind == EventKind::Ventilation) {
            ++ventilations;
            stomach += e.stomachInflation;
        }
    }
    int compressions = 0;
    for (const auto& [number, s] : compressionSeries) {
        compressions += s.count;
        out << "# compression series " << number << ": " << s.count << " compressions, samples " << s.start
            << " to " << s.end;
        if (s.count > 1)
            out << ", rate " << format("%.1f", (s.count - 1) * 60.0 * samplesPerSecond / (s.lastPeak - s.firstPeak))
                << "/min (peak to peak)";
        out << "\n";
    }
    out << "# " << compressions << " compressions (" << leaning << " leaning, " << wrongHand
        << " wrong hand position), " << ventilations << " ventilations (" << stomach << " stomach inflation)\n";
}

std::vector<std::string> splitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ','))
        fields.push_back(field);
    if (!line.empty() && line.back() == ',')
        fields.emplace_back();
    return fields;
}

bool parseInt(const std::string& text, int& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0')
        return false;
    value = static_cast<int>(v);
    return true;
}

bool parseDouble(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0';
}

bool fail(std::string* error, const std::string& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool isValidStatus(int status)
{
    return std::find(validStatusBytes.begin(), validStatusBytes.end(), status) != validStatusBytes.end();
}

const char* kindName(EventKind kind)
{
    switch (kind) {
    case EventKind::Compression:
        return "compression";
    case EventKind::Ventilation:
        return "ventilation";
    case EventKind::Pause:
        return "pause";
    }
    return "";
}

std::vector<Event> GroundTruth::ofKind(EventKind kind) const
{
    std::vector<Event> selected;
    std::copy_if(events.begin(), events.end(), std::back_inserter(selected),
                 [kind](const Event& e) { return e.kind == kind; });
    return selected;
}

void writeGroundTruth(std::ostream& out, const GroundTruth& truth)
{
    out << "# title: " << truth.title << "\n";
    if (truth.resources)
        out << "# resources: " << (*truth.resources)[0] << " " << (*truth.resources)[1] << " "
            << (*truth.resources)[2] << " (compression ventilation status)\n";
    out << "# samples: " << truth.samples << "\n";
    out << "# samples per second: " << samplesPerSecond << "\n";
    out << "# zero compression: " << truth.zeroCompression << "\n";
    out << "# zero ventilation: " << truth.zeroVentilation << "\n";
    out << "# Sample indexes count from 0. Compression and ventilation: start and end are the\n"
           "# first and last samples of the movement, peak the middle of its top, units its\n"
           "# height above the zero in raw units, size the same in mm (x 25/101) or litres (/ 112).\n"
           "# Pause: from the last peak of one compression series to the first peak of the\n"
           "# next, size in seconds. Flags: A stomach inflation, B wrong hand position,\n"
           "# L chest not released before the next compression.\n";
    writeSummary(out, truth);
    out << tableHeader << "\n";
    for (const Event& e : truth.events) {
        out << kindName(e.kind) << "," << e.series << "," << e.start << ",";
        if (e.kind != EventKind::Pause)
            out << e.peak;
        out << "," << e.end << ",";
        if (e.kind != EventKind::Pause)
            out << e.units;
        out << "," << format("%.4f", e.size) << "," << flagsText(e) << "\n";
    }
}

bool readGroundTruth(std::istream& in, GroundTruth& truth, std::string* error)
{
    truth = GroundTruth {};
    std::string line;
    bool inTable = false;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line[0] == '#') {
            auto colon = line.find(": ");
            if (colon == std::string::npos)
                continue;
            std::string key = line.substr(2, colon - 2);
            std::string value = line.substr(colon + 2);
            if (key == "title")
                truth.title = value;
            else if (key == "samples")
                parseInt(value, truth.samples);
            else if (key == "zero compression")
                parseInt(value, truth.zeroCompression);
            else if (key == "zero ventilation")
                parseInt(value, truth.zeroVentilation);
            else if (key == "resources") {
                std::array<int, 3> ids {};
                std::istringstream words(value);
                if (words >> ids[0] >> ids[1] >> ids[2])
                    truth.resources = ids;
            }
            continue;
        }
        if (!inTable) {
            if (line != tableHeader)
                return fail(error, "line " + std::to_string(lineNumber) + ": expected the table header");
            inTable = true;
            continue;
        }
        auto fields = splitFields(line);
        if (fields.size() != 8)
            return fail(error, "line " + std::to_string(lineNumber) + ": expected 8 fields");
        Event e;
        if (fields[0] == "compression")
            e.kind = EventKind::Compression;
        else if (fields[0] == "ventilation")
            e.kind = EventKind::Ventilation;
        else if (fields[0] == "pause")
            e.kind = EventKind::Pause;
        else
            return fail(error, "line " + std::to_string(lineNumber) + ": unknown kind " + fields[0]);
        bool isPause = e.kind == EventKind::Pause;
        bool ok = parseInt(fields[1], e.series) && parseInt(fields[2], e.start) && parseInt(fields[4], e.end)
            && parseDouble(fields[6], e.size);
        if (isPause)
            ok = ok && fields[3].empty() && fields[5].empty();
        else
            ok = ok && parseInt(fields[3], e.peak) && parseInt(fields[5], e.units);
        if (!ok)
            return fail(error, "line " + std::to_string(lineNumber) + ": bad number");
        for (char flag : fields[7]) {
            if (flag == 'A')
                e.stomachInflation = true;
            else if (flag == 'B')
                e.wrongHand = true;
            else if (flag == 'L')
                e.leaning = true;
            else
                return fail(error, "line " + std::to_string(lineNumber) + ": unknown flag");
        }
        truth.events.push_back(e);
    }
    if (!inTable)
        return fail(error, "no table");
    return true;
}

} // namespace demo
