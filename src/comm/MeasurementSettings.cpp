#include "comm/MeasurementSettings.h"

namespace {
MeasurementSettings inForce;
}

const MeasurementSettings& MeasurementSettings::current() { return inForce; }

void MeasurementSettings::set(const MeasurementSettings& settings) { inForce = settings; }
