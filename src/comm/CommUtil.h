#pragma once

// 16-bit numbers travel as a low byte, then a high byte.
namespace CommUtil {
int lowByte(int number);
int highByte(int number);
} // namespace CommUtil
