#pragma once
// The program's command line as one text, the form in which the program
// reads its options ("demo", "commdelay:", "lang:").
#include <string>

namespace platform {

// The arguments joined by blanks; an argument that holds a blank is put in
// double quotes, so an option whose value holds blanks (a catalogue path)
// reads back whole.
std::string joinCommandLine(int argc, const char* const* argv);

} // namespace platform
