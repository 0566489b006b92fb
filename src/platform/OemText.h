#pragma once
// The OEM code page: the character set of text-mode devices such as the
// CPR Controller's display, which pairs with each ANSI code page.
#include <string>

namespace platform {

// The OEM code page that goes with an ANSI code page (0: the process's):
// 850 for Western European 1252, 852 for 1250, 866 for 1251, the same page
// for the East Asian double-byte pages, else 437.
unsigned oemCodePage(unsigned ansiCodePage = 0);
// ANSI text of the process converted to its OEM code page; a character the
// OEM page lacks becomes its default character.
std::string charToOem(const std::string& ansiText);

} // namespace platform
