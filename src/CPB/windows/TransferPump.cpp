#include "CPB/windows/TransferPump.h"

#include "CPB/CPBComm.h"

#include <QCoreApplication>

TransferPump::TransferPump()
{
    CPBComm::setMessagePump([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
}

TransferPump::~TransferPump() { CPBComm::setMessagePump({}); }
