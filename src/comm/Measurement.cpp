#include "comm/Measurement.h"

bool statusHasFlagA(int status) { return status == 12 || status == 28 || status == 140 || status == 156; }

bool statusHasFlagB(int status) { return status == 140 || status == 156 || status == 204 || status == 220; }
