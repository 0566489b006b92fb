#include "config/ConfigurationFile.h"

#include "config/BinaryFormat.h"
#include "platform/FileReplace.h"
#include "Utillib/LogStream.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <utility>

namespace ConfigurationFile {

namespace {

bool hasFixedShape(const PropertyModel& m)
{
    return m.icons.size() == static_cast<std::size_t>(PropertyModel::iconCount)
        && m.languages.size() == static_cast<std::size_t>(PropertyModel::languageCount)
        && m.legends.size() == static_cast<std::size_t>(PropertyModel::iconCount);
}

template <typename T>
void repairNumber(T& value, T defaultValue, T low, T high, const char* name, const std::string& path)
{
    if constexpr (std::is_floating_point_v<T>) {
        if (std::isfinite(value) && value >= low && value <= high)
            return;
    } else {
        if (value >= low && value <= high)
            return;
    }
    LogStream::instance() << "Configuration file '" << path << "': " << name << " out of range, using the default."
                          << LogStream::endl;
    value = defaultValue;
}

} // namespace

void repairModel(PropertyModel& m, const std::string& path)
{
    const PropertyModel d;
    repairNumber(m.metronomeFrequency, d.metronomeFrequency, 1.0, 250.0, "metronomeFrequency", path);
    repairNumber(m.minuteVolumeLow, d.minuteVolumeLow, 0.0001, 50.0, "minuteVolumeLow", path);
    repairNumber(m.minuteVolumeHigh, d.minuteVolumeHigh, 0.0001, 50.0, "minuteVolumeHigh", path);
    repairNumber(m.cardiacOutputPerCompression, d.cardiacOutputPerCompression, 0.0, 100.0,
                 "cardiacOutputPerCompression", path);
    repairNumber(m.cardiacOutputPerWrongHand, d.cardiacOutputPerWrongHand, 0.0, 100.0, "cardiacOutputPerWrongHand",
                 path);
    repairNumber(m.cardiacOutputLow, d.cardiacOutputLow, 0.01, 100.0, "cardiacOutputLow", path);
    repairNumber(m.cardiacOutputHigh, d.cardiacOutputHigh, 0.01, 100.0, "cardiacOutputHigh", path);
    repairNumber(m.maxPause, d.maxPause, 1, 100, "maxPause", path);
    repairNumber(m.depthLow, d.depthLow, 0.01, 100.0, "depthLow", path);
    repairNumber(m.depthHigh, d.depthHigh, 0.01, 100.0, "depthHigh", path);
    repairNumber(m.graphPrintMinutes, d.graphPrintMinutes, 1, 240, "graphPrintMinutes", path);
    for (std::size_t i = 0; i < m.icons.size() && i < d.icons.size(); ++i)
        repairNumber(m.icons[i], d.icons[i], 0, 96, "icon", path);
    // The dialog stores this range in order, as it does the other two; an
    // older file may hold it inverted, which would judge every minute volume
    // out of range.
    if (m.minuteVolumeLow > m.minuteVolumeHigh) {
        LogStream::instance() << "Configuration file '" << path << "': minute volume range inverted, put in order."
                              << LogStream::endl;
        std::swap(m.minuteVolumeLow, m.minuteVolumeHigh);
    }
}

bool readImage(const char* bytes, std::size_t size, const std::string& path, PropertyModel& model)
{
    // The buffer ends at the last byte supplied, so a short image can never
    // take what lies behind it for content.
    std::vector<char> copy(bytes, bytes + (size < bufferSize ? size : bufferSize));
    mem_buffer buffer(copy.data(), copy.size());
    BinaryFormat format(buffer);
    BinaryReader reader(format);

    PropertyModel target;
    target.magic = 0; // only a read that reaches the trailer sets it
    try {
        target.read(reader);
    } catch (const mem_buffer::buffer_overflow_error& e) {
        LogStream::instance() << "Could not load configuration file '" << path << "': " << e.what() << LogStream::endl;
        return false;
    } catch (const BinaryTextError& e) {
        LogStream::instance() << "Could not load configuration file '" << path << "': " << e.what() << LogStream::endl;
        return false;
    }
    if (target.magic != PROPERTY_MODEL_MAGIC || !hasFixedShape(target)) {
        LogStream::instance() << "Could not read all of the configuration in file '" << path << "'. Ignoring file."
                              << LogStream::endl;
        return false;
    }
    repairModel(target, path);
    model = target;
    return true;
}

bool writeImage(const PropertyModel& model, const std::string& path, std::vector<char>& image)
{
    image.assign(bufferSize, '\0');
    mem_buffer buffer(image.data(), image.size());
    BinaryFormat format(buffer);
    BinaryWriter writer(format);
    try {
        model.write(writer);
    } catch (const mem_buffer::buffer_overflow_error& e) {
        LogStream::instance() << "Could not save configuration file '" << path << "': " << e.what() << LogStream::endl;
        image.clear();
        return false;
    } catch (const BinaryTextError& e) {
        LogStream::instance() << "Could not save configuration file '" << path << "': " << e.what() << LogStream::endl;
        image.clear();
        return false;
    }
    image.resize(buffer.bytesUsed());
    return true;
}

LoadResult load(const std::string& path, PropertyModel& model)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        LogStream::instance() << "Could not open configuration file '" << path << "' for loading." << LogStream::endl;
        // A file that exists but cannot be read is not missing: it must not
        // be replaced unseen.
        return errno == ENOENT ? LoadResult::missing : LoadResult::refused;
    }
    std::vector<char> bytes(bufferSize);
    std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return readImage(bytes.data(), size, path, model) ? LoadResult::loaded : LoadResult::refused;
}

bool loadFile(const std::string& path, PropertyModel& model) { return load(path, model) == LoadResult::loaded; }

bool keepRefusedFile(const std::string& path)
{
    const std::string aside = path + ".bad";
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        LogStream::instance() << "Could not keep the refused configuration file '" << path << "' as '" << aside
                              << "': " << std::strerror(errno) << LogStream::endl;
        return false;
    }
    LogStream::instance() << "The refused configuration file '" << path << "' is kept as '" << aside << "'."
                          << LogStream::endl;
    return true;
}

bool saveFile(const std::string& path, const PropertyModel& model)
{
    std::vector<char> image;
    if (!writeImage(model, path, image))
        return false;
    std::string error;
    switch (platform::replaceFile(path, image.data(), image.size(), &error)) {
    case platform::ReplaceResult::replaced:
        return true;
    case platform::ReplaceResult::cannotCreate:
        LogStream::instance() << "Could not open configuration file '" << path << "' for saving" << LogStream::endl;
        return false;
    case platform::ReplaceResult::writeFailed:
        break;
    }
    LogStream::instance() << "Could not write configuration file '" << path << "': " << error << LogStream::endl;
    return false;
}

} // namespace ConfigurationFile
