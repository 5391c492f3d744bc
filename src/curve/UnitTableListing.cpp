#include "curve/UnitTableListing.h"
#include <cstdio>

namespace curve {

std::vector<UnitByte> curveUnitBytes(const CurveDocument& doc, int curveNo) {
    std::vector<UnitByte> out;
    const Table& table = doc.curves[static_cast<size_t>(curveNo)].CurveTable;
    const int first = curveNo == 1 ? Curve1Address : Curve2Address;
    for (int i = 0; i < StoredEntries; ++i) {
        UnitByte b;
        b.address = first + i;
        b.value = table[static_cast<size_t>(i)] & 0xFF;
        b.curve = curveNo;
        b.entry = i;
        if (i < FirstLowByte) {
            b.rpm = 500 + 800 * i;
        } else {
            b.rpm = 500 + 100 * (i - FirstLowByte);
            b.count = tableCount(table, i);
        }
        out.push_back(b);
    }
    return out;
}

std::vector<UnitByte> unitBytes(const CurveDocument& doc) {
    std::vector<UnitByte> out;
    UnitByte maxRpm;
    maxRpm.address = MaxRpmAddress;
    maxRpm.value = doc.maxRpm() / 100 & 0xFF;
    out.push_back(maxRpm);
    for (int c = 1; c <= 2; ++c) {
        const std::vector<UnitByte> table = curveUnitBytes(doc, c);
        out.insert(out.end(), table.begin(), table.end());
    }
    return out;
}

std::string unitTableHeading(int langOffset) {
    return langOffset == 200 ? "Address Value Hex Curve Entry    Rpm Count"
                             : "Indir.   Dato Hex Curva  Voce  G/min Conteggio";
}

std::string unitByteLine(const UnitByte& b) {
    char line[96];
    if (b.curve == 0) {
        std::snprintf(line, sizeof line, "%7d %5d  %02X  MaxRpm \\ 100", b.address, b.value,
                      b.value);
    } else if (b.flags()) {
        std::snprintf(line, sizeof line, "%7d %5d  %02X %5d %5d  bit 8 %d-%d", b.address, b.value,
                      b.value, b.curve, b.entry, b.rpm, b.rpm + 700);
    } else {
        std::snprintf(line, sizeof line, "%7d %5d  %02X %5d %5d %6d %5d", b.address, b.value,
                      b.value, b.curve, b.entry, b.rpm, b.count);
    }
    return line;
}

std::string unitTableListing(const CurveDocument& doc, int langOffset) {
    std::string out =
        "MaxRpm " + std::to_string(doc.maxRpm()) + "\n" + unitTableHeading(langOffset) + "\n";
    for (const UnitByte& b : unitBytes(doc))
        out += unitByteLine(b) + "\n";
    return out;
}

} // namespace curve
