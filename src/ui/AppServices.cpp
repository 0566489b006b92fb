#include "ui/AppServices.h"

namespace {
AppServices* installed = nullptr;
}

AppServices* appServices() { return installed; }

AppServices* setAppServices(AppServices* services)
{
    AppServices* previous = installed;
    installed = services;
    return previous;
}
