#pragma once
// The front end of the setup transfer with stand-alone CPR Controllers: the
// user chooses among the controllers the port table found, then the setup
// is sent to each controller chosen, or read from the one chosen. One
// instance lives until the program ends; it holds nothing.
#include "config/SetupTransfer.h"

class PropertyModel;
class QWidget;

class CPBTransfer {
public:
    static CPBTransfer& instance();
    ~CPBTransfer();

    // Sends `model` to every controller ticked in the send selector, in
    // list order, each in its own progress window; the selector's result
    // (1 OK, 2 Cancel).
    int sendSetup(const PropertyModel* model, QWidget* parent);
    // Reads the controller picked in the get selector into `model`; the
    // selector's result. A cancelled choice leaves `model` as it was.
    int getSetup(PropertyModel* model, QWidget* parent);

private:
    CPBTransfer() = default;
};

// The configuration's view of the transfer, handed to
// Configuration::setTransfer at start-up.
class CPBSetupTransfer : public SetupTransfer {
public:
    int sendSetup(const PropertyModel& setup, QWidget* parent) override;
    int getSetup(PropertyModel& setup, QWidget* parent) override;
};
