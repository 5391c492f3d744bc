// Arbitrary requests to the simulated unit, with time passing in between: it never crashes,
// everything it sends is a short message whose data bytes are 7-bit, and its queue stays
// bounded.
#include "FuzzCheck.h"
#include "unit/SimulatedUnit.h"

#include <cstddef>
#include <cstdint>

using namespace unit;

namespace {
void checkOutput(SimulatedUnit& unit) {
    const std::vector<uint32_t> sent = unit.takeOutput();
    check(sent.size() <= SimulatedUnit::MaxQueued);
    for (const uint32_t msg : sent) {
        check((msg & 0x80) != 0);
        check(((msg >> 8) & 0x80) == 0 && ((msg >> 16) & 0x80) == 0);
        check((msg >> 24) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SimulatedUnit unit(size > 0 ? data[0] : 1);
    // Four bytes per step: a message (status, data1, data2), or, when the fourth byte is
    // 0xFF, time passing (up to about 0.8 s) or a change of the unit's faults.
    for (size_t i = 1; i + 4 <= size; i += 4) {
        if (data[i + 3] != 0xFF) {
            unit.receive(data[i] | data[i + 1] << 8 | data[i + 2] << 16);
            continue;
        }
        if (data[i] & 0x80) {
            UnitFaults faults;
            faults.silent = data[i] & 0x01;
            faults.refuseModes = data[i] & 0x02;
            faults.dropProbability = (data[i + 1] & 0x0F) / 16.0;
            faults.corruptProbability = (data[i + 1] >> 4) / 16.0;
            faults.wrongModuleProbability = (data[i + 2] & 0x0F) / 16.0;
            unit.setFaults(faults);
            continue;
        }
        unit.advance(static_cast<uint64_t>(data[i + 1] | data[i + 2] << 8) * 12);
        checkOutput(unit);
    }
    unit.advance(30'000);
    checkOutput(unit);
    return 0;
}
