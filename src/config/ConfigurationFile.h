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

enum class LoadResult { loaded, missing, refused };
// The same, telling a missing file from one that was refused (damaged, cut or
// of a newer version).
LoadResult load(const std::string& path, PropertyModel& model);

// Puts a refused file aside as `path` + ".bad" (replacing an older one), so
// that the settings written next do not destroy what could still be rescued
// from it; false, with a log line, when it could not be moved.
bool keepRefusedFile(const std::string& path);

// Brings a model read from a file within what the dialog lets the user enter:
// a number that is not finite or lies outside its range takes its default,
// an icon number outside 0 to 96 that position's default, and an inverted
// minute-volume range is put in order. Each repair writes a log line naming
// `path`.
void repairModel(PropertyModel& model, const std::string& path);

// Writes the file through a new file renamed over the old one, so a crash or a
// full disk leaves the previous settings whole; false after a logged failure.
bool saveFile(const std::string& path, const PropertyModel& model);

} // namespace ConfigurationFile
