#pragma once
// Exchanging the setup with stand-alone CPR Controllers. The configuration
// dialog calls it; the CPR Controller subsystem implements it and registers
// itself with the configuration, so nothing here depends on that subsystem.
#include "config/PropertyModel.h"

class QWidget;

class SetupTransfer {
public:
    virtual ~SetupTransfer() = default;
    // Lets the user choose among the controllers the port table found and
    // sends `setup` to each one chosen; the chooser's dialog result (1: sent).
    virtual int sendSetup(const PropertyModel& setup, QWidget* parent) = 0;
    // Lets the user choose a controller and reads its setup into `setup`,
    // which stays as it was when the chooser is cancelled; the chooser's
    // dialog result.
    virtual int getSetup(PropertyModel& setup, QWidget* parent) = 0;
};
