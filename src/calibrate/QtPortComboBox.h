#pragma once
// A dialog's combo box as the port table fills and reads it.
#include "comm/CalibrateManager.h"

namespace platform {
class ComboBox;
}

class QtPortComboBox : public PortComboBox {
public:
    explicit QtPortComboBox(platform::ComboBox* comboBox)
        : combo(comboBox)
    {
    }

    void resetContent() override;
    // In sorted place when the box sorts, with the port number as item data.
    void addItem(const std::string& text, int itemData) override;
    void setCurrentIndex(int index) override;
    // What the box shows: the typed text, or the selected item of a drop-down list.
    std::string currentText() const override;

private:
    platform::ComboBox* combo;
};
