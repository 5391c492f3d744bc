#pragma once
#include "curve/CurveModel.h"
#include <string>
#include <vector>

namespace curve {

// What a curve document puts into the unit's memory, address by address, in the order the
// transfer writes it: MaxRpm \ 100 at address 5, then the tables of curves 1 (6..112) and
// 2 (113..219), entries 0..106. Curve 0 is never written.

struct UnitByte {
    int address = 0;
    int value = 0; // the byte sent, 0..255
    int curve = 0; // 1 or 2; 0 for MaxRpm
    int entry = 0; // table entry 0..106
    // Flag byte (entries 0..11): the first rpm of the eight entries it carries the bit 8 of.
    // Low byte (12..106): its rpm. 0 for MaxRpm.
    int rpm = 0;
    int count = 0; // low byte: the whole count (entry + 256 x its flag bit); else 0
    bool flags() const { return curve != 0 && entry < FirstLowByte; }
};

inline constexpr int MaxRpmAddress = 5;
inline constexpr int Curve1Address = 6;
inline constexpr int Curve2Address = 113;

std::vector<UnitByte> unitBytes(const CurveDocument& doc);
// The table of one curve (1 or 2): its 107 bytes.
std::vector<UnitByte> curveUnitBytes(const CurveDocument& doc, int curveNo);

// The printed listing: a heading line, then one line per byte with the address, the value
// in decimal and hexadecimal, the curve, the entry, the rpm and the count. langOffset 0 or
// 200 chooses the language of the headings.
std::string unitTableListing(const CurveDocument& doc, int langOffset);
// One byte's line of the listing (without the line end); a flag byte names the speeds
// whose bit 8 it carries.
std::string unitByteLine(const UnitByte& b);
std::string unitTableHeading(int langOffset);

} // namespace curve
