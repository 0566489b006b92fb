#pragma once
// What the splash program works out before it shows anything: the command
// line handed to the training program, the ini file it reads, and the trace
// lines it writes. Plain code, shared with nothing in the training program.
#include <optional>
#include <string>
#include <vector>

namespace splash {

// The value the training program sends once its main window is up.
inline constexpr unsigned SPLASH_MESSAGE_ID_CLOSE = 0x0614C329u;
// The value the training program sends the first time it waits for input:
// from then on it may show a box that the picture must not cover.
inline constexpr unsigned SPLASH_CHILD_IDLE = 0x1D1E0614u;
// The environment variable that names the descriptor of the pipe the
// training program writes those values to.
inline constexpr const char* splashPipeVariable = "TAVO_SPLASH_FD";
// The longest path the program handles, and the longest ini value.
inline constexpr std::size_t maxPath = 260;
inline constexpr std::size_t maxIniValue = 259;

// Our own command line as one text: the arguments joined by blanks, an
// argument holding a blank written between double quotes.
std::string joinArguments(const std::vector<std::string>& arguments);

// "main", and when our own line is not empty a blank and the line unchanged.
std::string childCommandLine(const std::string& ownLine);

// The ini file named by "custom:" (up to the next blank), else "splash.ini".
std::string iniFileName(const std::string& ownLine);

// The ini file beside the executable: its folder up to and including the last
// "/", then the ini name; nothing when there is no folder or the path would
// not fit.
std::optional<std::string> iniPath(const std::string& executablePath, const std::string& iniName);

// The value of `key` in `section` of the ini file (names compared ignoring
// case, blanks around names and values dropped, at most 259 characters);
// empty when the file, the section or the key is missing.
std::string readIniValue(const std::string& path, const std::string& section, const std::string& key);

// The environment variable that asks for the trace lines: they are a
// developer's, so a user's terminal stays quiet unless it is set to "1".
inline constexpr const char* splashTraceVariable = "TAVO_SPLASH_TRACE";

// Writes one trace line, Splash: "text", to standard error when
// TAVO_SPLASH_TRACE is "1"; otherwise nothing.
void trace(const std::string& text);

} // namespace splash
