#pragma once
#include "unit/UnitRandom.h"
#include <cstdint>

namespace unit {

// How the unit answers a request for EEPROM access (0xD2).
enum class EepromAnswer {
    Granted,         // 0xD2, EEPROM access
    GrantedDataProg, // 0xD4, EEPROM access to data and program memory
    Denied,          // 0xD3, no access; the mode stays as it was
    Refused,         // 0xD0, back to run mode
};

// Misbehaviour the simulated unit can be told to show. Probabilities are per message.
struct UnitFaults {
    double dropProbability = 0;        // a message the unit sends is lost
    double corruptProbability = 0;     // one bit of a sent message flips
    double wrongModuleProbability = 0; // a memory answer comes from the other module
    bool silent = false;               // the unit sends nothing at all
    bool refuseModes = false;          // 0xD1 answered 0xD0, 0xD2 answered 0xD3
    EepromAnswer eepromAnswer = EepromAnswer::Granted; // unless refuseModes is set
    bool operator==(const UnitFaults&) const = default;
};

// Flips one of the 18 bits a receiver can see change (the status byte's low nibble and the
// seven bits of each data byte), so the result is still a well-formed short message.
uint32_t corruptMessage(uint32_t msg, UnitRandom& rng);

} // namespace unit
