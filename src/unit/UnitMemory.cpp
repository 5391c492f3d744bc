#include "unit/UnitMemory.h"

namespace unit {

namespace {

UnitBytes factoryModule(uint8_t moduleNumber) {
    UnitBytes m;
    m.fill(0xFF);
    // Identity: maker mark, firmware revision, module number.
    m[0] = 0x5A;
    m[1] = 0x50;
    m[2] = 0x23;
    m[3] = moduleNumber;
    m[FlagsAddress] = 0xFF;
    m[MaxRpmAddress] = 75;
    constexpr std::array<uint8_t, 6> dwell{0, 5, 8, 9, 10, 11};
    for (int i = 0; i < 6; ++i)
        m[DwellAddress + i] = dwell[i];
    m[CoilLAddress] = 50;
    return m;
}

} // namespace

UnitEeprom factoryEeprom() {
    UnitEeprom e;
    e.mdx = factoryModule(0);
    e.msx = factoryModule(1);
    return e;
}

UnitBytes programMemory(UnitModuleId id) {
    UnitBytes m{};
    const unsigned salt = id == UnitModuleId::MSX ? 0x80 : 0x00;
    for (unsigned a = 0; a < m.size(); ++a)
        m[a] = static_cast<uint8_t>((a * 29 + 0x3F + salt) & 0xFF);
    return m;
}

} // namespace unit
