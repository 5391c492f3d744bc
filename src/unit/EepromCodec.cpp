#include "unit/EepromCodec.h"

namespace unit {

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

namespace {
// "ZEPHALON EEPROM": the signature without its version character.
constexpr std::string_view kSignatureStem = EepromSignature.substr(0, EepromSignature.size() - 1);
} // namespace

EepromCheck checkEeprom(std::string_view bytes) {
    if (bytes.size() >= EepromSignature.size() &&
        bytes.substr(0, kSignatureStem.size()) == kSignatureStem) {
        const char version = bytes[kSignatureStem.size()];
        if (version > EepromSignature.back() && version <= '9') return EepromCheck::NewerFormat;
    }
    if (bytes.size() != EepromFileSize) return EepromCheck::WrongLength;
    return parseEeprom(bytes) ? EepromCheck::Image : EepromCheck::Foreign;
}

std::string eepromRefusalReason(std::string_view bytes, int langOffset) {
    const bool it = langOffset == 0;
    switch (checkEeprom(bytes)) {
    case EepromCheck::Image:
        break;
    case EepromCheck::WrongLength:
        return std::to_string(bytes.size()) + (it ? " byte invece di " : " bytes instead of ") +
               std::to_string(EepromFileSize);
    case EepromCheck::NewerFormat:
        return (it ? "formato più recente (" : "newer format (") +
               std::string(bytes.substr(0, EepromSignature.size())) + ")";
    case EepromCheck::Foreign:
        return it ? "non è una memoria dell'unità simulata" : "not a simulated unit memory";
    }
    return {};
}

std::string eepromRefusedNotice(const std::string& path, const std::string& reason,
                                int langOffset) {
    if (langOffset == 0)
        return "Memoria dell'unità simulata non letta: " + path + " (" + reason +
               "). L'unità simulata usa i contenuti di fabbrica, tenuti in memoria solo per "
               "questa sessione; il file resta com'è.";
    return "Simulated unit memory not read: " + path + " (" + reason +
           "). The simulated unit runs on factory contents, kept in memory for this session only; "
           "the file is left as it is.";
}

} // namespace unit
