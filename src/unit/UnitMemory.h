#pragma once
#include <array>
#include <cstdint>

namespace unit {

enum class UnitModuleId { MDX = 0, MSX = 1 };

inline constexpr int UnitMemorySize = 256;
using UnitBytes = std::array<uint8_t, UnitMemorySize>;

// Where the unit keeps its settings in the data EEPROM of each module.
inline constexpr int FlagsAddress = 4;         // bit 0 clear: curve 1 programmed; bit 1: curve 2
inline constexpr int MaxRpmAddress = 5;        // maximum speed / 100
inline constexpr int Curve1TableAddress = 6;   // 107 table entries, 6..112
inline constexpr int Curve2TableAddress = 113; // 107 table entries, 113..219
inline constexpr int TableEntries = 107;
inline constexpr int DwellAddress = 202; // six dwell indexes (202..207), then the L value (208)
inline constexpr int CoilLAddress = 208;

// The data EEPROM of both modules.
struct UnitEeprom {
    UnitBytes mdx{};
    UnitBytes msx{};

    UnitBytes& module(UnitModuleId id) { return id == UnitModuleId::MDX ? mdx : msx; }
    const UnitBytes& module(UnitModuleId id) const { return id == UnitModuleId::MDX ? mdx : msx; }
    bool operator==(const UnitEeprom&) const = default;
};

// A unit as it leaves the factory: identity bytes 0-3, no curve programmed (flags 0xFF),
// maximum speed 7500, the default coil program, every other byte erased (0xFF).
UnitEeprom factoryEeprom();

// The module's read-only program memory: a fixed pattern,
// byte(a) = (a * 29 + 0x3F + 0x80 for MSX) mod 256.
UnitBytes programMemory(UnitModuleId id);

} // namespace unit
