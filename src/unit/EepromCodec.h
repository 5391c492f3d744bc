#pragma once
#include "unit/UnitMemory.h"
#include <optional>
#include <string>
#include <string_view>

// The simulated unit's EEPROM file: the 16-byte signature "ZEPHALON EEPROM1", then the
// 256 bytes of MDX, then the 256 bytes of MSX (528 bytes in all).
inline constexpr std::string_view EepromSignature = "ZEPHALON EEPROM1";
inline constexpr size_t EepromFileSize = EepromSignature.size() + 2 * UnitMemorySize;

std::string serializeEeprom(const UnitEeprom& eeprom);
// Refuses anything that is not exactly a signature and 512 bytes.
std::optional<UnitEeprom> parseEeprom(std::string_view bytes);
