#include "gettext/TranslationHooks.h"

#include "Utillib/TextBlock.h"
#include "Utillib/TextTranslation.h"
#include "gettext/Translator.h"

namespace {

bool userInterfaceIsNonCjk() { return theTranslator.isNonCjk(); }

} // namespace

void installTranslationHooks()
{
    setTextTranslation(&translate);
    TextBlock::setNonCjkQuery(&userInterfaceIsNonCjk);
}
