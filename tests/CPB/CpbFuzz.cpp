#include "CpbFuzz.h"

#include "CPB/CPBComm.h"
#include "CPB/MemoryMap.h"
#include "config/PropertyModel.h"
#include "comm/SerialPort.h"

#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

int fuzzReplies(const std::uint8_t* data, std::size_t size)
{
    // The first three bytes name the address a read reply must answer.
    CPBAdr adr(size > 0 ? data[0] : 0x51, static_cast<std::uint16_t>(size > 2 ? data[1] << 8 | data[2] : 0));
    int length = size > 3 ? data[3] % 18 : 3;
    SerialPort port;
    port.readData.assign(data, data + size);
    for (std::size_t round = 0; round <= size && !port.readData.empty(); ++round) {
        std::size_t before = port.getBufferSize();
        GetPackage get(port);
        ByteVector out;
        PackageResult result = round % 3 == 2 ? waitForAck(port)
            : round % 3 == 1                  ? get.readData(adr, length, out)
                                              : get.receive();
        check(result == 0 || result == 1 || result == 2 || result == 3 || result == 4 || result == 5 || result == 7);
        std::size_t after = port.getBufferSize();
        check(after <= before);
        const ByteVector& answer = get.getAnswer();
        if (round % 3 == 0 && result == PACKAGE_OK) {
            check(answer.size() >= 3 && answer[0] == cpb::FRAME_START);
            check(cpb::checksum(answer.data(), answer.size() - 1) == answer.back());
            check(answer.size() == 3 || answer.size() == static_cast<std::size_t>(answer[5]) + 7);
            check(before - after >= answer.size());
        }
        if (round % 3 == 1)
            check(result == PACKAGE_OK ? out.size() == static_cast<std::size_t>(length) : out.empty());
        // Results that consume nothing leave the front byte for the retry's discard.
        if (after == before)
            port.readData.pop_front();
    }
    return 0;
}

int fuzzMemory(const std::uint8_t* data, std::size_t size)
{
    ByteVector bytes(data, data + size);
    auto padded = [&](std::size_t n) {
        ByteVector b(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(n, bytes.size())));
        b.resize(n, 0);
        return b;
    };
    check(MemoryMap::encodeIcon32(MemoryMap::decodeIcon32(bytes)) == padded(128));
    check(MemoryMap::encodeIcon24(MemoryMap::decodeIcon24(bytes)) == padded(72));
    for (int icon : MemoryMap::decodeIconNumbers(bytes))
        check(icon == MemoryMap::NO_ICON || (icon >= 0 && icon < MemoryMap::EVENT_ICON_COUNT));
    for (const std::string& code : MemoryMap::decodeLanguageNumbers(bytes))
        check(code.empty() || code.size() == 2);
    std::string text = MemoryMap::decodeText(bytes);
    check(text.size() <= bytes.size() && text.find('\0') == std::string::npos
          && text.find('\xFF') == std::string::npos);
    MemoryMap::DeviceAlgorithm algorithm = MemoryMap::decodeAlgorithm(bytes);
    check(algorithm.name.size() <= MemoryMap::ALGORITHM_BLOCK_SIZE - MemoryMap::ALGORITHM_NAME_OFFSET);

    PropertyModel model;
    MemoryMap::decodeConfigFlags(bytes, model);
    ByteVector flags = MemoryMap::encodeConfigFlags(model);
    ByteVector given = padded(3);
    const std::uint8_t readBack[3] = { 0xED, 0x20, 0x20 };
    for (int i = 0; i < 3; ++i)
        check((flags[i] & readBack[i]) == (given[i] & readBack[i]));
    return 0;
}
