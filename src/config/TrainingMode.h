#pragma once
// The four training modes: who takes part in a session and what is trained.
// The value is the mode's index in every training-mode combo box and what the
// Scenario and Session tables store.
#include <string>

class QWidget;
namespace platform {
class ComboBox;
}

enum TrainingMode {
    SINGLE_PERSON = 0,     // one person ventilates and compresses
    TWO_PERSON = 1,        // the default of every new scenario, session and form
    VENTILATION_ONLY = 2,
    COMPRESSION_ONLY = 3,
};

// Inserts the four translated names at positions 0 to 3 (the box must not
// sort; a sorting one is logged) and selects two-person CPR. Items already in
// the box stay.
void fillTrainingModeCombo(platform::ComboBox* combox);

// The translated name of the mode (narrow, in the ANSI code page); empty
// outside 0 to 3.
std::string trainingModeName(int mode);

// Adapts a form's two participant boxes (and the buttons beside them, when
// given) to the mode: the side the mode leaves out is disabled (and emptied),
// and with adjustNames the default names follow the mode ("User" alone,
// "User 1" and "User 2" in two-person mode), leaving names the user chose.
// Without useDefaultNames the defaults are empty texts.
void setParticipantFields(int mode, platform::ComboBox* ventilation, QWidget* ventilationCompanion,
                          platform::ComboBox* compression, QWidget* compressionCompanion, bool adjustNames,
                          bool useDefaultNames);
