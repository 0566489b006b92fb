#pragma once
#include <cstddef>

// One recorded channel of a demonstration set: the bytes of a "BIN" resource,
// played endlessly.
class CollectedData {
public:
    explicit CollectedData(int resourceNumber);

    // Byte i modulo the size; 0 for an empty or missing recording.
    int value(std::size_t i) const;
    std::size_t size() const { return count; }

private:
    const unsigned char* bytes = nullptr;
    std::size_t count = 0;
};

// A demonstration set: compression, ventilation and status channels.
struct DemoSet {
    const CollectedData* compression = nullptr;
    const CollectedData* ventilation = nullptr;
    const CollectedData* status = nullptr;
};
