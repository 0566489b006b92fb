#pragma once
// The program's help: HTML pages "razeduv_<language>.html" with one section
// per help context, shown in the program's help window at the context's anchor.
#include <functional>
#include <string>

class QUrl;

namespace Help {

// The anchor of the contents page.
inline const std::string contents = "contents";

// The folder that holds the help pages: the working folder when it has them,
// else the pages that come with the program.
std::string folder();

// Opens the help file at the anchor; false, with a line in the error log,
// when the file does not exist or nothing could show it.
bool open(const std::string& file, const std::string& anchor);

// Replaces the opening of a help address (tests); an empty function restores it.
void setOpener(std::function<bool(const QUrl&)> opener);

} // namespace Help
