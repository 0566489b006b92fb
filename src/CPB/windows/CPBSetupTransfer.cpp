#include "CPB/windows/CPBTransfer.h"

int CPBSetupTransfer::sendSetup(const PropertyModel& setup, QWidget* parent)
{
    return CPBTransfer::instance().sendSetup(&setup, parent);
}

int CPBSetupTransfer::getSetup(PropertyModel& setup, QWidget* parent)
{
    return CPBTransfer::instance().getSetup(&setup, parent);
}
