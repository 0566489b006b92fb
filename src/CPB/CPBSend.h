#pragma once
// Sending the program's setup to one CPR Controller: its icons, configuration
// flags, two algorithms, company name, languages, plot data, debriefing
// screens and bars, each step written over the packet protocol. The steps
// need no window; they report their advance to a progress sink, which the
// window side backs with its progress window.
#include "CPB/CPBComm.h"
#include "Utillib/Signal.h"

#include <string>
#include <vector>

class Algorithm;
class BarGenerator;
class PropertyModel;
class QWidget;
class SerialPort;

// Where a send shows what it is doing: the step's text and the advance of
// the bar (per mille of one controller's transfer).
class SendProgress {
public:
    virtual ~SendProgress() = default;
    virtual void setText(const std::wstring& text) = 0;
    virtual void step(int n) = 0;
};

class CPBSend : public SignalReceiver {
public:
    // Requests are tried this often before a package counts as failed.
    static constexpr int TRIES = 10;

    explicit CPBSend(SendProgress* progress = nullptr)
        : progress(progress)
    {
    }

    // Sends the whole setup to the controller on `port`, showing the transfer
    // in a progress window owned by `parent`; true when every step succeeded.
    // The window stays with the controller's outcome until the user closes
    // it; the send to the `last` controller returns only once every such
    // window over `parent` is closed. Defined with the transfer windows
    // (windows/CPBTransferSend.cpp), not in this window-free library.
    bool send(int port, const PropertyModel* model, QWidget* parent, bool last);

    // The part of a send without windows: connects, runs the seven steps in
    // order while they succeed (their texts shown all the same), closes the
    // port when the connect opened it. True when every step succeeded.
    bool transfer(SerialPort& port, const PropertyModel& model);

    // What the user must change before a send can succeed, when the last
    // transfer failed for a reason that retrying cannot mend (a debriefing
    // screen too large for its place); empty otherwise.
    const std::wstring& failureText() const { return failure; }

    // The steps, in the order a send runs them.
    bool sendIcons(CPBComm& comm, const PropertyModel& model);
    bool sendConfiguration(CPBComm& comm, const PropertyModel& model);
    bool sendAlgorithms(CPBComm& comm, const PropertyModel& model);
    bool sendCompanyName(CPBComm& comm, const std::wstring& printHeading);
    bool sendLanguages(CPBComm& comm, const std::vector<std::string>& languageCodes);
    bool sendPlotData(CPBComm& comm, const PropertyModel& model);
    bool sendDebriefing(CPBComm& comm, const PropertyModel& model);

    // Narrow text at `adr`: with a pad width above 0, blank-padded to that
    // width (a longer text is cut to it, so it never runs into the next
    // area); with 0, followed by one 0x00 byte. The write's result.
    static bool writeText(CPBAdr adr, const std::string& text, int padWidth, CPBComm& comm);
    // Each number as 4 bytes, least significant first, from `adr` on.
    static bool writeFloats(const std::vector<float>& numbers, CPBAdr adr, CPBComm& comm);

    // An event icon in the unit's slot layouts: 128 bytes for 32 x 32 pixels,
    // 72 bytes for 24 x 24; an exactly black pixel is a set bit.
    static ByteVector renderIcon32(int number);
    static ByteVector renderIcon24(int number);

private:
    bool sendIcon(CPBComm& comm, int slot, int number);
    bool sendAlgorithm(CPBComm& comm, const std::string& name, int nameArea, int block);
    bool sendAlgorithmValues(CPBComm& comm, const Algorithm& algorithm, CPBAdr block);
    bool sendBars(CPBComm& comm, const BarGenerator& bars, CPBAdr area);
    void step(int n);
    void show(const char* text);

    SendProgress* progress;
    std::wstring failure;
};
