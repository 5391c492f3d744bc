#pragma once
#include "unit/UnitMemory.h"
#include <optional>
#include <string>
#include <string_view>

namespace unit {

// The simulated unit's EEPROM file: the 16-byte signature "ZEPHALON EEPROM1", then the
// 256 bytes of MDX, then the 256 bytes of MSX (528 bytes in all).
inline constexpr std::string_view EepromSignature = "ZEPHALON EEPROM1";
inline constexpr size_t EepromFileSize = EepromSignature.size() + 2 * UnitMemorySize;

std::string serializeEeprom(const UnitEeprom& eeprom);
// Refuses anything that is not exactly a signature and 512 bytes.
std::optional<UnitEeprom> parseEeprom(std::string_view bytes);

// Why a file is not taken as the EEPROM: Image when parseEeprom takes it. A file written by
// a later program ("ZEPHALON EEPROM2" and on) is NewerFormat whatever its length.
enum class EepromCheck { Image, WrongLength, NewerFormat, Foreign };
EepromCheck checkEeprom(std::string_view bytes);

// The reason a refused file is not used, in the program's language (LangOffset 0 Italian,
// 200 English), UTF-8: "529 byte invece di 528", "formato più recente (ZEPHALON EEPROM2)".
std::string eepromRefusalReason(std::string_view bytes, int langOffset);
// What the user is told once about a refused file: which one, why, and that the simulated
// unit runs on factory contents kept in memory for this run only (the file stays as it is).
std::string eepromRefusedNotice(const std::string& path, const std::string& reason, int langOffset);

} // namespace unit
