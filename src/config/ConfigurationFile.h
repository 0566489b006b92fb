#pragma once
// The settings file "configuration.cprcfg": one stored image of a
// PropertyModel. Failures are reported in the error log only, one line each;
// the caller's settings stay as they were.
#include "config/PropertyModel.h"

#include <cstddef>
#include <string>
#include <vector>

namespace ConfigurationFile {

// The file's name; without a folder it lies in the current folder.
inline const std::string fileName = "configuration.cprcfg";
// Longest image read or written; a longer file is cut here.
inline constexpr std::size_t bufferSize = 51200;

// Takes a stored image only when it is whole: a supported version, every
// value inside the bytes given, the trailer PROPERTY_MODEL_MAGIC and the
// fixed numbers of icons, languages and legends. Then `model` gets it and the
// result is true; otherwise `model` is untouched. `path` names the file in
// the log lines.
bool readImage(const char* bytes, std::size_t size, const std::string& path, PropertyModel& model);

// The stored image of `model`; false (and a log line) when it does not fit
// the buffer.
bool writeImage(const PropertyModel& model, const std::string& path, std::vector<char>& image);

// Reads the file into `model`; false when it cannot be opened or is not whole.
bool loadFile(const std::string& path, PropertyModel& model);

// Writes the file through a new file renamed over the old one, so a crash or a
// full disk leaves the previous settings whole; false after a logged failure.
bool saveFile(const std::string& path, const PropertyModel& model);

} // namespace ConfigurationFile
