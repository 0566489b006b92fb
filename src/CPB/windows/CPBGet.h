#pragma once
// Reads part of a CPR Controller's setup back: its icon numbers, languages,
// the configuration flags it carries, its two algorithms (the names into the
// setup, the values into the algorithm table) and its company name (the
// print heading). Each part changes the setup only once it has been read
// whole; the first part that fails ends the reading.
#include "CPB/CPBComm.h"
#include "CPB/windows/ProgressDialog.h"
#include "Utillib/Signal.h"

#include <QPointer>
#include <string>
#include <vector>

class PropertyModel;
class QWidget;

class CPBGet : public SignalReceiver {
public:
    // Reads the controller on `port` into `model`, showing a progress window
    // owned by `parent` (disabled until the user closes that window). True
    // when every part was read and the port closed cleanly.
    bool get(int port, PropertyModel* model, QWidget* parent);

    bool getIcons(PropertyModel* model, CPBComm& comm);
    bool getLanguages(PropertyModel* model, CPBComm& comm);
    bool getConfiguration(PropertyModel* model, CPBComm& comm);
    bool getAlgorithms(PropertyModel* model, CPBComm& comm);
    bool getCompanyName(PropertyModel* model, CPBComm& comm);

    // The text stored at `adr`, read a byte at a time up to a 0x00 or 0xFF
    // byte (not part of it). Fails when a read fails or no end comes within
    // `room` bytes.
    bool readText(CPBAdr adr, int room, CPBComm& comm, std::string& text);
    // `count` single-precision numbers, least significant byte first.
    bool readFloats(CPBAdr adr, int count, CPBComm& comm, std::vector<float>& values);
    // Reads the values of the algorithm block `block` (a Pointer name) and
    // stores them in the algorithm table under `name`.
    bool storeAlgorithm(const std::string& name, int block, CPBComm& comm);
    // Stores the nine values a unit carries for an algorithm (initVent,
    // vRateLow/High, vVolLow/High, eccRateLow/High, compDepthLow/High, in
    // that order) under `name`: into its stored row, or a new one. False,
    // logged, when they are out of range or cannot be written.
    static bool storeValues(const std::string& name, const std::vector<double>& numbers);

    // A number from the unit rounded to two decimals; false for one that is
    // not finite or beyond any setting's range.
    static bool roundValue(float value, double& rounded);

    // The window of the last reading (null once it is gone).
    ProgressDialog* progressWindow() const { return progress; }

private:
    // storeValues inside the transaction that holds the write lock.
    static bool writeValues(const std::string& name, const std::vector<double>& numbers);
    void step(int n);
    void showText(const char* text);

    QPointer<ProgressDialog> progress;
};
