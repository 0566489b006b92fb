#pragma once
// The built-in content of a new installation: the two guidelines of 2005 and
// six scenarios of basic life support for each, installed at start-up while
// the installation's "Patch level" is 0 and none of them exists.
#include "Database/DbError.h"

#include <cstdint>

class DefaultContentInstaller {
public:
    DefaultContentInstaller() = default;
    virtual ~DefaultContentInstaller() = default;

    // Skipped while the database is not open; all or nothing, and only one
    // station at a time. An error while writing is logged, nothing is
    // stored, and start-up goes on.
    void installDefaultContent();

    // "Patch level", 0 when it cannot be read.
    std::uint32_t readPatchLevel();
    // None of the eight built-in items exists (opening the algorithms also
    // removes outdated built-in guidelines). False when a table could not be
    // read: then lastReadFailed() is true (logged), and the installation fails
    // and is tried again at the next start. Virtual so that a test can let
    // another station start between the check and the insertions.
    virtual bool defaultsMissing();
    bool lastReadFailed() const { return readFailed; }
    bool insertDefaultAlgorithms();
    bool insertDefaultScenarios();
    void writePatchLevel(std::uint32_t level);

private:
    // Inside the installation's transaction: makes any other station's
    // installation wait until this one has ended. False when that failed (logged).
    bool lockInstallation();
    void logReadFailure(const char* what, const DbError& error);

    bool readFailed = false;
};
