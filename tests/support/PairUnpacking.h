#pragma once
#include "protocol/UnitPacking.h"
#include <cstdint>

using namespace protocol;

// The two values of a pair rebuilt from its two messages at once (the decoder does it message
// by message): the first takes bits 16-17 from status bits 2-3 of its message and bit 18 from
// status bit 3 of the second; the second takes bit 16 from status bit 2 of its own.
struct PairValues {
    uint32_t first = 0;
    uint32_t second = 0;
};

inline uint32_t low16Of(uint32_t msg) {
    const uint32_t status = statusOf(msg);
    return (data2Of(msg) + 128u * ((status >> 1) & 1u)) * 256u + data1Of(msg) +
           128u * (status & 1u);
}

inline PairValues unpackPair(uint32_t firstMsg, uint32_t secondMsg) {
    const uint32_t s1 = protocol::statusOf(firstMsg);
    const uint32_t s2 = protocol::statusOf(secondMsg);
    PairValues p;
    p.first = low16Of(firstMsg) + (((s1 & 0x0C) >> 2) + 4u * ((s2 >> 3) & 1u)) * 65536u;
    p.second = low16Of(secondMsg) + ((s2 >> 2) & 1u) * 65536u;
    return p;
}
