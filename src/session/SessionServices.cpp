#include "session/SessionServices.h"

#include "Utillib/LogStream.h"

namespace {

SessionServices* installed = nullptr;

} // namespace

SessionServices& sessionServices()
{
    LOG_ASSERT(installed != nullptr);
    return *installed;
}

void setSessionServices(SessionServices* services)
{
    installed = services;
}
