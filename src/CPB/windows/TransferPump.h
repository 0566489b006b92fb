#pragma once
// While a transfer runs, the windows go on being served between the
// packages sent to a CPR Controller (repainting the progress window, the
// main frame's timer). In effect for the object's lifetime.
class TransferPump {
public:
    TransferPump();
    ~TransferPump();
    TransferPump(const TransferPump&) = delete;
    TransferPump& operator=(const TransferPump&) = delete;
};
