// Any simulated-unit EEPROM file image: the reader never crashes, and what it accepts is
// written back byte for byte.
#include "FuzzCheck.h"
#include "unit/EepromCodec.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace unit;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const auto eeprom = parseEeprom(file);
    if (!eeprom) return 0;
    check(size == EepromFileSize);
    check(serializeEeprom(*eeprom) == file);
    return 0;
}
