#include "comm/CollectedData.h"

#include "Utillib/LogStream.h"
#include "platform/Resources.h"

CollectedData::CollectedData(int resourceNumber)
{
    platform::Resource resource = platform::findResource("BIN", resourceNumber);
    LOG_ASSERT(resource.data != 0);
    bytes = resource.data;
    count = resource.data ? resource.size : 0;
    LOG_ASSERT(count != 0);
}

int CollectedData::value(std::size_t i) const
{
    // An empty recording plays silence rather than dividing by zero.
    if (count == 0)
        return 0;
    return bytes[i % count];
}
