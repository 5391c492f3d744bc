#include "unit/UnitFaults.h"

namespace unit {

uint32_t corruptMessage(uint32_t msg, UnitRandom& rng) {
    const uint32_t pick = rng.below(18);
    uint32_t bit = 0;
    if (pick < 4)
        bit = pick; // status bits 0-3
    else if (pick < 11)
        bit = 8 + (pick - 4); // data1 bits 0-6
    else
        bit = 16 + (pick - 11); // data2 bits 0-6
    return msg ^ (1u << bit);
}

} // namespace unit
