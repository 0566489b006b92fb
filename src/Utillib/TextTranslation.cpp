#include "Utillib/TextTranslation.h"

#include "Utillib/GString.h"

namespace {

std::wstring untranslated(const char* text) { return text ? GString::to_wstring(text) : std::wstring(); }

TextTranslation installed = &untranslated;

} // namespace

void setTextTranslation(TextTranslation translation) { installed = translation ? translation : &untranslated; }

std::wstring translateText(const char* text) { return installed(text); }
