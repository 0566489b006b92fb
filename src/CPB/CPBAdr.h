#pragma once
#include <cstdint>

// An address in the CPR Controller's memory: a bank byte (0x50 + bank) and a
// 16-bit offset within the bank, sent in that order (bank, high, low).
class CPBAdr {
public:
    static constexpr std::uint8_t bankBase = 0x50;
    static constexpr int bankCount = 9;

    constexpr CPBAdr() = default;
    constexpr CPBAdr(std::uint8_t bankByte, std::uint16_t offset)
        : bank(bankByte)
        , high(static_cast<std::uint8_t>(offset >> 8))
        , low(static_cast<std::uint8_t>(offset & 0xFF))
    {
    }

    // Bank 0 to 8 (bank byte 0x50 to 0x58).
    static constexpr CPBAdr newBank(int bankNumber, std::uint16_t offset)
    {
        return CPBAdr(static_cast<std::uint8_t>(bankBase + bankNumber), offset);
    }

    constexpr std::uint16_t getAdr() const { return static_cast<std::uint16_t>(high * 256 + low); }

    // Moves the offset; a carry never reaches the bank.
    constexpr CPBAdr operator+(int n) const
    {
        return CPBAdr(bank, static_cast<std::uint16_t>(getAdr() + n));
    }
    constexpr bool operator==(const CPBAdr&) const = default;

    std::uint8_t bank = bankBase;
    std::uint8_t high = 0;
    std::uint8_t low = 0;
};
