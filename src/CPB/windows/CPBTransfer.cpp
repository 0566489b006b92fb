#include "CPB/windows/CPBTransfer.h"

#include "CPB/windows/CPBGet.h"
#include "CPB/windows/TransferSelectors.h"
#include "platform/WindowStyles.h"
#include "comm/CalibrateManager.h"

CPBTransfer& CPBTransfer::instance()
{
    static CPBTransfer transfer;
    return transfer;
}

CPBTransfer::~CPBTransfer() = default;

int CPBTransfer::getSetup(PropertyModel* model, QWidget* parent)
{
    CPGGetSelector selector;
    selector.candList = CalibrateManager::get().getCPBPorts();
    const int result = selector.doModal();
    // An empty list chooses no port, and nothing is read.
    if (result == IDOK && selector.chosen() > 0) {
        CPBGet reader;
        reader.get(selector.chosen(), model, parent);
    }
    return result;
}
