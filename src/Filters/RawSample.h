#pragma once

// One sample as the device delivered it: raw compression and ventilation
// values (0..255) and the device status byte.
struct RawSample {
    int compression = 0;
    int ventilation = 0;
    int error = 0; // the device status byte
};
