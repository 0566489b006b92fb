#pragma once
// The built-in content of a new installation: the two guidelines of 2005 and
// six scenarios of basic life support for each, installed at start-up while
// the installation's "Patch level" is 0 and none of them exists.
#include <cstdint>

class DefaultContentInstaller {
public:
    DefaultContentInstaller() = default;
    virtual ~DefaultContentInstaller() = default;

    // Skipped while the database is not open; an error while writing is
    // logged and start-up goes on.
    void installDefaultContent();

    // "Patch level", 0 when it cannot be read.
    std::uint32_t readPatchLevel();
    // None of the eight built-in items exists (opening the algorithms also
    // removes outdated built-in guidelines).
    bool defaultsMissing();
    bool insertDefaultAlgorithms();
    bool insertDefaultScenarios();
    void writePatchLevel(std::uint32_t level);
};
