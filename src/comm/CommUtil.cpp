#include "comm/CommUtil.h"

#include "Utillib/LogStream.h"

namespace CommUtil {

int lowByte(int number)
{
    LOG_ASSERT(number <= 65535);
    return number % 256;
}

int highByte(int number)
{
    LOG_ASSERT(number <= 65535);
    return number / 256;
}

} // namespace CommUtil
