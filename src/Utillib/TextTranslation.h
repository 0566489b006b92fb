#pragma once
// The translation of the program's English texts, for the helpers here that
// show words to the user. The translation layer sits above this library, so
// it installs its function at start-up (installTranslationHooks in gettext);
// until then texts come back untranslated, in the ANSI code page.
#include <string>

using TextTranslation = std::wstring (*)(const char* text);

// Null restores the untranslated default.
void setTextTranslation(TextTranslation translation);
std::wstring translateText(const char* text);
