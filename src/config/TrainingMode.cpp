#include "config/TrainingMode.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"

namespace {

const char* const modeNames[] = { "Single-person CPR", "Two-person CPR", "Ventilation only",
                                  "Chest compression only" };

std::string translated(const char* text) { return GString::to_string(translate(text)); }

} // namespace

void fillTrainingModeCombo(platform::ComboBox* combox)
{
    if (!combox)
        return;
    LOG_ASSERT((combox->comboStyle() & CBS_SORT) != CBS_SORT);
    for (int mode = SINGLE_PERSON; mode <= COMPRESSION_ONLY; ++mode)
        combox->insertString(mode, platform::ansiToQString(translated(modeNames[mode])));
    combox->setCurSel(TWO_PERSON);
}

std::string trainingModeName(int mode)
{
    if (mode < SINGLE_PERSON || mode > COMPRESSION_ONLY)
        return {};
    return translated(modeNames[mode]);
}

void setParticipantFields(int mode, platform::ComboBox* ventilation, QWidget* ventilationCompanion,
                          platform::ComboBox* compression, QWidget* compressionCompanion, bool adjustNames,
                          bool useDefaultNames)
{
    std::string ventilationText = Utillib::getComboText(ventilation);
    std::string compressionText = Utillib::getComboText(compression);

    bool ventilationOn = true;
    bool compressionOn = true;
    bool ventilationEmptied = false;
    bool compressionEmptied = false;
    switch (mode) {
    case SINGLE_PERSON: compressionOn = false; break;
    case VENTILATION_ONLY:
        compressionOn = false;
        compressionEmptied = true;
        compressionText.clear();
        break;
    case COMPRESSION_ONLY:
        ventilationOn = false;
        ventilationEmptied = true;
        ventilationText.clear();
        break;
    default: break;
    }
    for (QWidget* window : { static_cast<QWidget*>(ventilation), ventilationCompanion })
        Utillib::enableWithFocus(window, ventilationOn);
    for (QWidget* window : { static_cast<QWidget*>(compression), compressionCompanion })
        Utillib::enableWithFocus(window, compressionOn);
    if (!adjustNames)
        return;

    const std::string user = useDefaultNames ? translated("User") : std::string();
    const std::string user1 = useDefaultNames ? translated("User 1") : std::string();
    const std::string user2 = useDefaultNames ? translated("User 2") : std::string();
    const std::string ventilationDefault = mode == TWO_PERSON ? user1 : user;
    const std::string compressionDefault = mode == TWO_PERSON ? user2 : user;

    if (ventilationEmptied) {
        Utillib::selectComboString(ventilation, std::string());
    } else if (ventilationText.empty() || ventilationText == user || ventilationText == user1) {
        ventilationText = ventilationDefault;
        Utillib::selectComboString(ventilation, ventilationText);
    }
    if (compressionEmptied) {
        Utillib::selectComboString(compression, std::string());
    } else if (compressionText.empty() || compressionText == user || compressionText == user2) {
        compressionText = compressionDefault;
        Utillib::selectComboString(compression, compressionText);
    }
    if (mode == SINGLE_PERSON)
        Utillib::selectComboString(compression, ventilationText);
}
