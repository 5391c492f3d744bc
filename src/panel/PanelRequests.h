#pragma once
#include <cstdint>

// Messages the control panel sends to the unit (status + data1 * 256 + data2 * 65536).
// Towards the unit, status bit 1 carries bit 7 of the address (data1) and status bit 0 bit 7
// of the data byte (data2).
namespace panel {

inline constexpr uint8_t EnterEepromAccess = 0xD2;
inline constexpr uint8_t LeaveEepromAccess = 0xD0;

// Read of one byte: 0x88 MDX data EEPROM, 0x98 MDX program memory, 0x8C MSX data EEPROM,
// 0x9C MSX program memory; data2 is 0.
uint32_t readRequest(bool mdx, bool dataMemory, int address);
// Write of one byte into the data EEPROM: 0x80 MDX, 0x84 MSX.
uint32_t writeRequest(bool mdx, int address, int data);

} // namespace panel
