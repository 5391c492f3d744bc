#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace curve {

// The advance curve model: points in the twips of the fixed graph, the unit's 108-entry
// timing table derived from them, and the document a curve window edits.

inline constexpr int GraphX0 = 405;          // x of the 500 rpm line
inline constexpr int GraphY0 = 6200;         // y of the 0 degree line
inline constexpr int TwipsPer1000Rpm = 1200; // horizontal scale
inline constexpr int TwipsPer10Deg = 1200;   // vertical scale
inline constexpr int GraphXMax = GraphX0 + TwipsPer1000Rpm / 2 + 9 * TwipsPer1000Rpm; // 10,000
inline constexpr int GraphYTop = GraphY0 - 5 * TwipsPer10Deg;                         // 50 deg
inline constexpr int GridStep = TwipsPer1000Rpm / 10;                                 // 100 rpm
inline constexpr int MaxLastPoint = 100;                                              // 101 points
inline constexpr int TableEntries = 108;
inline constexpr int StoredEntries = 107; // entries 0..106 go to the file and the unit
inline constexpr int FirstLowByte = 12;
inline constexpr int MaxCount = 511; // largest count the table stores (nine bits)
inline constexpr int CurveCount = 3;

struct Point {
    double x = 0; // twips right of GraphX0
    double y = 0; // twips above GraphY0
    bool operator==(const Point&) const = default;
};

using Table = std::array<uint16_t, TableEntries>;

struct Curve {
    std::array<Point, MaxLastPoint + 1> points{};
    int CurveLastPoint = 0; // 0: no segment
    Table CurveTable{};
    bool hasSegment() const { return CurveLastPoint != 0; }
};
// Curve 0 (for comparison), 1 and 2 of a document.
using Curves = std::array<Curve, CurveCount>;

// 12 + (rpm - 500 rounded to the nearest whole, ties to even) \ 100, truncated toward 0.
int32_t RpmToTableIndex(float rpm);
// The entries covered by the segment from point k - 1 to point k (k 1..100).
void SegmentToTable(Curve& c, int k);
// All entries to 0, then every segment in order.
void BuildCurveTable(Curve& c);

// The time the engine takes to turn through advance degrees at rpm, in 3.2 us counts.
double advanceCount(double advanceDeg, double rpm);
// The count an entry 12..107 holds: its low byte + 256 x its flag bit.
int tableCount(const Table& table, int entry);
// The advance in degrees a stored count makes at rpm (0 for a count of 0).
double countAdvance(int count, double rpm);
// rpm and degrees of a point.
double pointRpm(const Point& p);
double pointAdvance(const Point& p);

// MaxRpm lies in 0..MaxRpmLimit (TextVRM takes no more; the unit receives MaxRpm \ 100).
inline constexpr int MaxRpmLimit = 9999;

// The curve document of one window.
struct CurveDocument {
    Curves curves{};
    std::string maxRpmField = " 7500"; // record 1, columns 8..12, as stored
    char lock = '0';                   // '1': the graph ignores the mouse
    std::string notes;

    // MaxRpm: the field's leading number.
    int maxRpm() const;
    // Stores the text of TextVRM right-justified in the five columns.
    void setMaxRpmText(const std::string& text);
    bool locked() const { return lock == '1'; }
};

// Leading-number parser of the file's fields: skips blanks, takes a sign, digits and a
// decimal part, stops at the first character that cannot belong to the number; 0 when
// there is none.
double leadingNumber(std::string_view field);

// "CurvaAnticipo-" + date as dmmmyy + "-" + time as hhmmss + ".crva" in folder.
std::string defaultCurvePath(const std::string& folder, char separator, int day, int month,
                             int year, int hour, int minute, int second);

} // namespace curve
