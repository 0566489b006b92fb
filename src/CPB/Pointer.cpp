#include "CPB/Pointer.h"

#include "Utillib/LogStream.h"

namespace {

struct Entry {
    CPBAdr adr;
    int room;
};

constexpr std::uint8_t bank0 = 0x50;
constexpr std::uint8_t bank1 = 0x51;

const Entry table[Pointer::SIZE_OF] = {
    { { bank1, 0x7FF0 }, 6 },
    { { bank0, 0x0380 }, 128 }, { { bank0, 0x0400 }, 128 }, { { bank0, 0x0580 }, 128 },
    { { bank0, 0x0600 }, 128 }, { { bank0, 0x0780 }, 128 }, { { bank0, 0x0800 }, 128 },
    { { bank0, 0x3580 }, 72 },  { { bank0, 0x3600 }, 72 },  { { bank0, 0x3680 }, 72 },
    { { bank0, 0x3700 }, 72 },  { { bank0, 0x3780 }, 72 },  { { bank0, 0x3800 }, 72 },
    { { bank1, 0x7FE0 }, 3 },
    { { bank1, 0x0050 }, 10 },  { { bank1, 0x005A }, 10 },  { { bank1, 0x0064 }, 10 },
    { { bank1, 0x0800 }, 0x800 }, { { bank1, 0x1000 }, 0x800 },
    { { bank1, 0x1800 }, 0x800 }, { { bank1, 0x2000 }, 0x800 },
    { { bank1, 0x2800 }, 0x800 }, { { bank1, 0x3000 }, 0x800 },
    { { bank1, 0x3800 }, 1152 }, { { bank1, 0x4000 }, 1152 },
    { { bank1, 0x7D00 }, 256 }, { { bank1, 0x7E00 }, 256 },
    { { bank1, 0x0000 }, 40 },  { { bank1, 0x0028 }, 40 },
    { { bank1, 0x4480 }, 117 }, { { bank1, 0x4500 }, 117 },
    { { bank1, 0x7C00 }, 256 },
    { { bank1, 0x7FB0 }, 3 },
};

bool known(int name) { return name >= 0 && name < Pointer::SIZE_OF; }

} // namespace

CPBAdr Pointer::get(int name)
{
    LOG_ASSERT(known(name));
    return known(name) ? table[name].adr : table[0].adr;
}

int Pointer::room(int name)
{
    LOG_ASSERT(known(name));
    return known(name) ? table[name].room : 0;
}
