#include "config/ConfigurationFile.h"

#include "config/BinaryFormat.h"
#include "platform/FileReplace.h"
#include "Utillib/LogStream.h"

#include <cstdio>

namespace ConfigurationFile {

namespace {

bool hasFixedShape(const PropertyModel& m)
{
    return m.icons.size() == static_cast<std::size_t>(PropertyModel::iconCount)
        && m.languages.size() == static_cast<std::size_t>(PropertyModel::languageCount)
        && m.legends.size() == static_cast<std::size_t>(PropertyModel::iconCount);
}

} // namespace

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

bool loadFile(const std::string& path, PropertyModel& model)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        LogStream::instance() << "Could not open configuration file '" << path << "' for loading." << LogStream::endl;
        return false;
    }
    std::vector<char> bytes(bufferSize);
    std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return readImage(bytes.data(), size, path, model);
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
