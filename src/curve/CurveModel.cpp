#include "curve/CurveModel.h"
#include "base/MonthNames.h"
#include <cfenv>
#include <cmath>
#include <cstdio>

using namespace base;

namespace curve {

namespace {

// Nearest whole number, ties to even (the default rounding mode).
long roundEven(double v) {
    return std::lrint(v);
}

void writeEntry(Table& table, int entry, double count) {
    if (entry < FirstLowByte || entry >= TableEntries) return;
    const int flagByte = (entry - FirstLowByte) / 8;
    const auto flagBit = static_cast<uint16_t>(1u << ((entry - FirstLowByte) % 8));
    long n = 0;
    if (count > MaxCount || !(count > 0))
        n = 0; // beyond nine bits, or no advance: stored as 0
    else
        n = roundEven(count);
    table[static_cast<size_t>(entry)] = static_cast<uint16_t>(n & 0xFF);
    // The flag bit always follows bit 8 of the new count.
    if (n > 255)
        table[static_cast<size_t>(flagByte)] |= flagBit;
    else
        table[static_cast<size_t>(flagByte)] &= static_cast<uint16_t>(~flagBit);
}

} // namespace

int32_t RpmToTableIndex(float rpm) {
    const long r = roundEven(static_cast<double>(rpm) - 500.0);
    return static_cast<int32_t>(12 + r / 100);
}

double advanceCount(double advanceDeg, double rpm) {
    if (!(rpm > 0)) return 0;
    return (advanceDeg / 360.0) * (60.0 / rpm) * 1000000.0 / 3.2;
}

void SegmentToTable(Curve& c, int k) {
    if (k < 1 || k > MaxLastPoint) return;
    const Point& p1 = c.points[static_cast<size_t>(k - 1)];
    const Point& p2 = c.points[static_cast<size_t>(k)];
    const auto R1 = static_cast<float>(p1.x * 1000 / TwipsPer1000Rpm + 500);
    const auto A1 = static_cast<float>(p1.y * 10 / TwipsPer10Deg);
    const auto R2 = static_cast<float>(p2.x * 1000 / TwipsPer1000Rpm + 500);
    const auto A2 = static_cast<float>(p2.y * 10 / TwipsPer10Deg);
    if (R2 - R1 <= 0) {
        // A vertical step: the entry at its rpm takes the step's end value.
        writeEntry(c.CurveTable, RpmToTableIndex(R2), advanceCount(A2, R2));
        return;
    }
    const float slope = (A2 - A1) / (R2 - R1);
    for (float r = R1; r <= R2; r += 100.0f) {
        const float a = (r - R1) * slope + A1;
        writeEntry(c.CurveTable, RpmToTableIndex(r), advanceCount(a, r));
    }
}

void BuildCurveTable(Curve& c) {
    c.CurveTable.fill(0);
    for (int k = 1; k <= c.CurveLastPoint; ++k)
        SegmentToTable(c, k);
}

int tableCount(const Table& table, int entry) {
    if (entry < FirstLowByte || entry >= TableEntries) return 0;
    const int flagByte = (entry - FirstLowByte) / 8;
    const int flag = (table[static_cast<size_t>(flagByte)] >> ((entry - FirstLowByte) % 8)) & 1;
    return table[static_cast<size_t>(entry)] + 256 * flag;
}

double countAdvance(int count, double rpm) {
    return count * 3.2e-6 * (rpm / 60.0) * 360.0;
}

double pointRpm(const Point& p) {
    return p.x * 1000 / TwipsPer1000Rpm + 500;
}

double pointAdvance(const Point& p) {
    return p.y * 10 / TwipsPer10Deg;
}

double leadingNumber(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    double sign = 1;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
        if (field[i] == '-') sign = -1;
        ++i;
    }
    double value = 0;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9')
        value = value * 10 + (field[i++] - '0');
    if (i < field.size() && field[i] == '.') {
        double scale = 0.1;
        for (++i; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i, scale /= 10)
            value += (field[i] - '0') * scale;
    }
    return sign * value;
}

int CurveDocument::maxRpm() const {
    return static_cast<int>(leadingNumber(maxRpmField));
}

void CurveDocument::setMaxRpmText(const std::string& text) {
    std::string field = text.substr(0, 5);
    maxRpmField = std::string(5 - field.size(), ' ') + field;
}

std::string defaultCurvePath(const std::string& folder, char separator, int day, int month,
                             int year, int hour, int minute, int second) {
    char name[64];
    std::snprintf(name, sizeof name, "CurvaAnticipo-%d%s%02d-%02d%02d%02d.crva", day,
                  monthAbbreviation(month).data(), year % 100, hour, minute, second);
    return folder + separator + name;
}

} // namespace curve
