#pragma once
// The duration combo box: mm:ss choices and "No limit" (see Duration.h).
#include <string>

namespace platform {
class ComboBox;
}

// The choices of the duration combo box (not sorted): 00:30 to 20:00 and the
// translated "No limit", with 02:00 in its field.
void fillDurationCombo(platform::ComboBox* comboBox);
// Shows the duration: mm:ss, or the translated "No limit" for -1.
void setDurationText(platform::ComboBox* comboBox, int seconds);
void durationToCombo(platform::ComboBox* comboBox, const std::string& text);
// The duration the combo box shows; -1 without a combo box.
int durationFromCombo(platform::ComboBox* comboBox);

