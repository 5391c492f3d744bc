#include "unit/EepromCodec.h"

std::string serializeEeprom(const UnitEeprom& eeprom) {
    std::string out(EepromSignature);
    out.reserve(EepromFileSize);
    for (const UnitBytes* m : {&eeprom.mdx, &eeprom.msx})
        for (uint8_t b : *m)
            out.push_back(static_cast<char>(b));
    return out;
}

std::optional<UnitEeprom> parseEeprom(std::string_view bytes) {
    if (bytes.size() != EepromFileSize ||
        bytes.substr(0, EepromSignature.size()) != EepromSignature)
        return std::nullopt;
    UnitEeprom e;
    size_t p = EepromSignature.size();
    for (UnitBytes* m : {&e.mdx, &e.msx})
        for (uint8_t& b : *m)
            b = static_cast<uint8_t>(bytes[p++]);
    return e;
}
