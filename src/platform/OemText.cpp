#include "platform/OemText.h"

#include "platform/CodePage.h"

namespace platform {

unsigned oemCodePage(unsigned ansi)
{
    if (ansi == CP_ACP)
        ansi = ansiCodePage();
    unsigned oem = 437;
    switch (ansi) {
    case 1252:
        oem = 850;
        break;
    case 1250:
        oem = 852;
        break;
    case 1251:
        oem = 866;
        break;
    case 932:
    case 936:
    case 949:
    case 950:
        oem = ansi;
        break;
    default:
        break;
    }
    return isValidCodePage(oem) ? oem : 437;
}

std::string charToOem(const std::string& ansiText)
{
    unsigned ansi = ansiCodePage();
    unsigned oem = oemCodePage(ansi);
    if (oem == ansi)
        return ansiText;
    std::optional<std::wstring> wide = multiByteToWide(ansi, ansiText);
    if (!wide)
        return ansiText;
    std::optional<std::string> converted = wideToMultiByte(oem, *wide);
    return converted ? *converted : ansiText;
}

} // namespace platform
